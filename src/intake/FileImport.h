// The import of a day's order file into the work table WRK_ORDER: the records as read, with
// the quality key's blanks removed, the two dates as "yyyy/mm/dd" and the control numbers.
#pragma once

#include "ImportRequest.h"

class Db;
class Dialogs;
class Progress;

// 0 on success; 1 after the failure's message (a refused record names itself: "取込ファイルの"
// + n + "件目: " + reason). Runs inside the caller's transaction, so that a failure leaves
// nothing behind when the caller rolls back.
int PF_FileImport(Db &db, Dialogs &dialogs, Progress &progress, const ImportRequest &request);

// The columns of WRK_ORDER that one record fills, in the order of the file (with the
// production year and month after the lot number).
QStringList workOrderColumns();
