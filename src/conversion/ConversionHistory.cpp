#include "ConversionHistory.h"

namespace ConversionHistory {

QString machineText(Machine machine)
{
    switch (machine) {
    case Machine::Thermal:
        return QStringLiteral("熱転写");
    case Machine::Letterpress:
        return QStringLiteral("凸版");
    case Machine::Any:
        break;
    }
    return QStringLiteral("指定無し");
}

RunRecord record(const ConversionInput &input, const ConversionResult &result,
                 const QStringList &files)
{
    RunRecord run;
    run.impDate = input.impDate;
    run.stamp = result.stamp;
    run.machine = machineText(input.machine);
    run.setDateFrom = input.setDateFrom;
    run.setDateTo = input.setDateTo;
    run.special = input.special;
    run.orderCount = result.orderCount;
    run.artworkRows = result.artworkRows;
    run.printRows = result.printRows;
    run.reportRows = result.reportRows;
    run.files = files;
    return run;
}

} // namespace ConversionHistory
