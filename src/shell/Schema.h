// The desk's tables (data/schema.sql, built into the program) and their creation.
#pragma once

#include "Outcome.h"

#include <QString>
#include <QStringList>

class Db;

namespace Schema {

QString text();
// The statements of the schema, in order.
QStringList statements();
// Every table the schema creates, in order.
QStringList tableNames();

// Creates every table in one transaction: Done. Refused, changing nothing, when the tables
// exist; `message` then holds the refusal for the caller to show. On PostgreSQL the text
// columns are made in collation C, so that the desk sorts and compares by code point in a
// database of any collation.
Outcome create(Db &db, QString *message);

// Creates, in one transaction, the tables of the schema that an older installation lacks
// (with their indexes) and nothing else; the names of the tables created, in schema order.
// Throws DbError (nothing is then created).
QStringList createMissing(Db &db);

// Widens, in one transaction, the columns the schema declares BIGINT that an older PostgreSQL
// installation holds as INTEGER (lot totals and print quantities outgrow 32 bits); their
// "TABLE.COLUMN" names. SQLite keeps every integer in 64 bits: nothing to do. Throws DbError.
QStringList widenColumns(Db &db);

// What upgrade-db would add to this database: the missing tables ("TABLE") and the missing
// columns of the existing ones ("TABLE.COLUMN"), in schema order. Reads only.
QStringList missingParts(Db &db);
// On PostgreSQL, the number of the desk's text columns not in collation C (0 on SQLite).
int textColumnsOutsideC(Db &db);

// Puts, in one transaction, the text columns of an older PostgreSQL installation that are not
// in collation C into it (their indexes follow); their "TABLE.COLUMN" names. Nothing to do on
// SQLite. Throws DbError.
QStringList collateTextColumns(Db &db);

// Adds, in one transaction, the columns of the schema that the existing tables of an older
// installation lack (with the schema's type and default); their "TABLE.COLUMN" names.
// Throws DbError.
QStringList addMissingColumns(Db &db);

// The three work tables of a conversion run.
QStringList workTableNames();
// On PostgreSQL the work tables are written without the server's log: each run replaces them,
// a crash empties them and rolls the run that was filling them back, and the lists of the
// runs that committed are kept in the run history. Nothing to do on SQLite.
void unlogWorkTables(Db &db);

} // namespace Schema
