// One table of the existing system as a migration reads it, row by row, whatever it comes from
// (an export file, an ODBC connection).
#pragma once

#include <QString>
#include <QStringList>

struct SourceRow {
    qint64 line = 0;    // where the row begins: line of the file, or row of the result
    QStringList fields; // the values as text, in the order of columns()
    QString fault;      // not empty: the row cannot be read (its text is not in the encoding)
    // The text came from CP932 bytes, so CP932 holds every character of it.
    bool fromCp932 = false;
};

class SourceTable {
public:
    virtual ~SourceTable() = default;

    // The source's column names, upper case, in the order of the row's fields.
    virtual QStringList columns() const = 0;
    // Where the column names came from ("見出し行", "書式ファイル TABLE.fmt", ...).
    virtual QString columnsFrom() const = 0;
    // The format of the source as the report names it.
    virtual QString format() const = 0;
    // The next row; false at the end, or when reading failed (error() then says why).
    virtual bool next(SourceRow &row) = 0;
    virtual QString error() const { return {}; }

    // How far the reading has come, in units of the total (for the progress display).
    virtual qint64 progressTotal() const = 0;
    virtual qint64 progressDone() const = 0;
};
