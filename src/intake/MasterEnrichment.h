// Completion of one import date's order lines from the masters: colour, end code, lot totals,
// spare and spoilage quantities, product-number class, size key, brand, factory names.
//
// What the masters make of a line, in the desk's binding order: the master colour of a line
// marked 'C', then 'WH' for a blank colour; the end codes A and M cleared before the size key is
// rebuilt; the lot's total and integer average over every day of the lot; the spare quantity by
// the name type's threshold and the spoilage allowance (a threshold or allowance of 0 or less,
// or a name type missing from the master, leaves the line's value); the product-number class
// before its brand, the house brand 'OSTERA' for a blank brand before the brand name; the
// factory's names and origin. A code the master lacks leaves the line's value.
#pragma once

#include <QString>
#include <QStringList>

class Db;
class Progress;

// The columns the masters complete.
QStringList completedColumns();

// A SELECT of LOT_NO with the lot's total quantity (SU2) and number of lines (CNT2) over every
// day, for every lot of `lines` (a FROM item, aliased D, with LOT_NO and SU) that meet
// `condition` (over D; empty for all). With `linesInTable` those lines are TBL_ORDER's own;
// otherwise they are not yet in TBL_ORDER and are added to its lines of the lot. Each lot is
// looked up through the lot-number index, so the cost follows the lots of the day, not the
// years of earlier lines.
QString lotTotals(const QString &lines, const QString &condition, bool linesInTable);

// A SELECT of IMP_DATE, IMP_LN, the `passThrough` columns and the completed columns of every
// line of `lines` (a FROM item, aliased L, with TBL_ORDER's columns as they stand before the
// completion) that meets `condition` (over L; empty for every line). `lots` is the lotTotals()
// of those lines.
QString completedLinesSelect(const QString &lines, const QString &condition, const QString &lots,
                             const QStringList &passThrough = {});

class HistoryWrite;

// The lines of the day (:d) still open (neither converted nor confirmed) whose completed
// values differ from their present ones: IMP_DATE, IMP_LN, every completed column with its
// new value and OLD_ + column with its present one.
QString changedLinesSelect();

// One UPDATE that gives every open line of the day (:d) its completed values; only lines
// whose values change are written, so that a run over a completed day reads without
// rewriting. Converted and confirmed lines keep what was printed.
QString enrichmentStatement();

// Runs it for the day; throws DbError when the database refuses it. With `record`, every
// value it changes is written to the audit trail first (a re-check after a master changed).
void enrichDay(Db &db, Progress &progress, const QString &impDate, HistoryWrite *record = nullptr);
