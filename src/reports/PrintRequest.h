// What a list needs from its caller: the connection, where to show messages and progress,
// and the printer to print on (gLPrinter on the desk, --to in batch).
#pragma once

#include <QString>

class Db;
class Dialogs;
class Progress;

struct PrintRequest {
    Db &db;
    Dialogs &dialogs;
    Progress &progress;
    QString printer;
};
