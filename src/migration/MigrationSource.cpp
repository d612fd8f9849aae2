#include "MigrationSource.h"

#include "ExportFolder.h"
#include "OdbcSource.h"

std::unique_ptr<MigrationSource> MigrationSource::fromArgument(const QString &argument,
                                                               QString *problem)
{
    if (argument.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive))
        return OdbcSource::connect(argument.mid(5), problem);
    return ExportFolder::scan(argument, problem);
}
