// What a list needs from its caller: the connection, where to show messages and progress,
// the printer to print on (the session's list printer on the desk, --to in batch) and where its
// rows come from (WRK_RPT unless a reprint names a run's kept rows).
#pragma once

#include "ReportSource.h"

#include <QString>

class Db;
class Dialogs;
class Progress;

struct PrintRequest {
    Db &db;
    Dialogs &dialogs;
    Progress &progress;
    QString printer;
    ReportSource source = {};
};
