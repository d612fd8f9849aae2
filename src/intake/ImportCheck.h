// Admission of an import: the file must exist and the day must not have been imported.
#pragma once

#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;

// Done when the import may start; Refused after the refusal's message; Failed after a
// database error's.
Outcome checkImport(Db &db, Dialogs &dialogs, const QString &path, const QString &impDate);

// A day counts as imported once it is registered in SYS_IMPDATE or has lines in TBL_ORDER.
bool isDayImported(Db &db, const QString &impDate);

// "指定された日付(" + date + ")は既に読み込まれています。" and the advice on the next line.
QString alreadyImportedMessage(const QString &impDate);
