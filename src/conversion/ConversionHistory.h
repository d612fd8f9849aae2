// What a conversion run leaves in the run history: its conditions, the four counts of its
// result report and the files it wrote (see RunHistory).
#pragma once

#include "ConversionRun.h"
#include "RunRecord.h"

namespace ConversionHistory {

// "指定無し", "熱転写" or "凸版", as the screen's 生産機種 names them.
QString machineText(Machine machine);
RunRecord record(const ConversionInput &input, const ConversionResult &result,
                 const QStringList &files);

} // namespace ConversionHistory
