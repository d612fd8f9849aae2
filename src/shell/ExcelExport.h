// The "EXCEL" key of the grid screens: the rows of the screen's statement written into a new
// spreadsheet file (.xlsx) in the installation's export/ folder and opened for the operator.
// The rows are streamed into the file, so a large export stays small in memory.
#pragma once

#include <QString>
#include <QVariantMap>

#include <stdexcept>

class Db;
class Dialogs;
class Progress;

// The spreadsheet file could not be written (disk full, folder not writable).
class ExcelExportError : public std::runtime_error {
public:
    explicit ExcelExportError(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }
    QString text() const { return m_text; }

private:
    QString m_text;
};

namespace ExcelExport {

// One sheet holds 1 048 576 rows; the first is the header row.
constexpr qint64 kMaxDataRows = 1048575;

// Writes the rows of sql (header row from the column names or aliases as the statement wrote
// them, on either engine) into a new file in the
// export folder and returns its path. An empty result writes nothing and returns "" silently;
// more than maxDataRows rows is refused with its message and returns "". Database failures
// throw DbError, file failures ExcelExportError.
QString writeFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &sql,
                  qint64 maxDataRows = kMaxDataRows);
// The same for a statement with bound values.
QString writeFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &sql,
                  const QVariantMap &params, qint64 maxDataRows = kMaxDataRows);

// Width of a text in half-width columns: wide (full-width) characters count double.
int displayWidth(const QString &text);

} // namespace ExcelExport

// The desk's routine: exports sql (with its bound values) from the session's connection db
// and opens the written file. Failures reach the caller (the screen reports them); no
// connection is the database's "not connected".
void exportToExcel(Db *db, const QString &sql, const QVariantMap &params = {});
