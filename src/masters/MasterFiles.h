// The master tables as files: one UTF-8 CSV file with a header line per table, named TABLE.csv.
//
// A load reads and checks every master file of a folder before it touches the database; the
// first bad line is named (file, line number, what is wrong) and nothing changes. Otherwise the
// rows of every table that has a file are replaced in one transaction; tables without a file
// are left alone. A dump writes every master table in key order with the numbers formatted by
// their column, so that a dump loaded and dumped again gives the same files.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class Db;
class Progress;

class MasterFiles {
public:
    enum class Kind { Text, Integer, Decimal };

    struct Column {
        QString name; // upper case, as in the header line
        Kind kind = Kind::Text;
        int precision = 0; // Decimal: total digits (0 when the column sets no limit)
        int scale = -1;    // Decimal: digits after the point (-1 when the column sets no limit)
        bool key = false;
    };

    struct Result {
        bool ok = true;
        // On failure, what went wrong; for a bad file "FILE の N 行目: reason".
        QString message;
        QString file; // the file concerned, empty when none
        int line = 0; // its line number, 0 when the file as a whole is concerned
        // Tables loaded or written with their row counts, in the order of tables().
        QList<QPair<QString, qint64>> tables;
    };

    explicit MasterFiles(Db &db, Progress *progress = nullptr);

    // Every master table, in load order.
    static const QStringList &tables();
    // "MST_CAR" -> "MST_CAR.csv"
    static QString fileName(const QString &table);

    // The table's columns in table order, read from the database.
    QList<Column> columns(const QString &table);

    // Folder may be a resource folder (":/ostera/demo").
    Result load(const QString &folder);
    Result dump(const QString &folder);

    // A number column's text as the value to store: blank is 0; std::nullopt with *reason
    // ("整数ではありません", "数値が大きすぎます", ...) when the text is no such number.
    static std::optional<QVariant> integerValue(const QString &text, QString *reason);
    static std::optional<QVariant> decimalValue(const QString &text, const Column &column,
                                                QString *reason);

    // One CSV line without its line end; fields holding a comma, a quote, a line break or
    // blanks at either end are quoted, inner quotes doubled.
    static QByteArray csvLine(const QStringList &fields);

private:
    struct Parsed;
    Result parseFile(const QString &folder, const QString &table, Parsed *parsed);
    void replaceRows(const Parsed &parsed);

    Db &m_db;
    Progress *m_progress;
};
