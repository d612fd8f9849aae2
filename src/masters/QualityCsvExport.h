// The quality CSV file ostQ.csv (F9 of the quality master list): one line of 79 fields per
// quality in key order, for the label layout program. CP932, every value in double quotes
// (an inner quote doubled), CR LF. The file is written under a temporary name and renamed
// when complete, so a failed run leaves the previous file as it was.
#pragma once

#include "Outcome.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>

class Db;

class QualityCsvExport {
public:
    static constexpr int kFields = 79;

    // Done: path holds the file. Unchanged: no quality, nothing written, nothing to say.
    // Refused (a quality CP932 cannot hold) or Failed (the file could not be written): message
    // says why, for the caller to show; the previous file is untouched.
    struct Result {
        Outcome outcome = Outcome::Unchanged;
        QString path;
        QString message;
    };

    // Writes folder/ostQ.csv from MST_QUL. Throws DbError when the table cannot be read.
    static Result exportCsv(Db &db, const QString &folder);

    // The 79 fields of a quality: the layout code "1" + L2 + L3 + L4 + "1", the constant 1,
    // eleven empty fields, QUL_NO, the ten content rows (part, composition, rate), the six
    // symbols, the two notes and twenty-seven empty fields.
    static QStringList fields(const QSqlRecord &row);
    // "a","b""c","" with CR LF.
    static QString line(const QStringList &fields);

    static QString fileName() { return QStringLiteral("ostQ.csv"); }
};
