// Reading the run history: the runs newest first, a run's files and folders, the runs a
// batch stamp names. Every function throws DbError (HistoryTables::present tells whether the
// tables are there at all).
#pragma once

#include "RunRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Db;

namespace RunList {

// The runs of one import date, or of every date when impDate is empty; newest first.
QList<RunRecord> runs(Db &db, const QString &impDate = {});
std::optional<RunRecord> find(Db &db, const QString &impDate, const QString &stamp);
// The import dates that have a run with this stamp (runs of different days may share one).
QStringList impDatesOf(Db &db, const QString &stamp);
// Full paths of the files the run wrote, in the order it wrote them.
QStringList files(Db &db, const QString &impDate, const QString &stamp);
// The folders of those files, each once, in the order they were first written to.
QStringList folders(Db &db, const QString &impDate, const QString &stamp);
// Whether the run kept report rows to print again.
bool hasReportRows(Db &db, const QString &impDate, const QString &stamp);

// The run history screen's statement: every run, newest first, under its Japanese headings.
QString gridSql();

} // namespace RunList
