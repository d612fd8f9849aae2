// The import of a day's order file into the work table WRK_ORDER: the records as read, with
// the quality key's blanks removed, the two dates as "yyyy/mm/dd" and the control numbers.
#pragma once

#include "ControlNumberGroups.h"
#include "ImportRequest.h"
#include "Outcome.h"

#include <QByteArray>
#include <QDate>

#include <optional>

class Db;
class Dialogs;
class Progress;

// An order file read once, whole, with every record checked and the control-number group of
// every line noted. The import reads it before it waits for its lock and opens its transaction:
// a file that never ends (a FIFO) or a share that stalls holds up this workstation alone, and
// what is numbered and stored is exactly what was checked, whatever becomes of the file
// meanwhile. The bytes are kept as read, 130 per record (13 MB for 100 000 records), rather than
// as decoded records (many times that) or a spool file; a file of more than
// kMaxRecords records is refused, so that memory stays bounded whatever the path names.
class OrderFileContent {
public:
    static constexpr int kMaxRecords = 1000000;

    // The file read and checked; std::nullopt after the refusal's message ("取込ファイルの" + n +
    // "件目: " + reason, or why the file could not be read).
    static std::optional<OrderFileContent> read(Dialogs &dialogs, Progress &progress,
                                                const ImportRequest &request);

private:
    friend Outcome importFile(Db &, Dialogs &, Progress &, const ImportRequest &,
                              OrderFileContent &);
    explicit OrderFileContent(const QDate &today) : m_today(today) {}

    QByteArray m_bytes;
    QDate m_today;
    int m_records = 0;
    ControlNumberGroups m_groups;
};

// Empties WRK_ORDER, draws the control numbers and fills it from the content: Done; Refused
// after the message naming a record that cannot be numbered; Failed after a database error's.
// Runs inside the caller's transaction, so that a failure leaves nothing behind when the
// caller rolls back.
Outcome importFile(Db &db, Dialogs &dialogs, Progress &progress, const ImportRequest &request,
                   OrderFileContent &content);
// The same with the file read first (Refused after the file's refusal).
Outcome importFile(Db &db, Dialogs &dialogs, Progress &progress, const ImportRequest &request);

// The columns of WRK_ORDER that one record fills, in the order of the file (with the
// production year and month after the lot number).
QStringList workOrderColumns();
