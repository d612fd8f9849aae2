// Completion of one import date's order lines from the masters: colour, end code, lot totals,
// spare and spoilage quantities, product-number class, size key, brand, factory names.
#pragma once

#include <QString>

class Db;
class Progress;

// One statement that gives every line of the day (:d) its final values at once, in the
// desk's binding order: the master colour of a line marked 'C', then 'WH' for a blank colour;
// the end codes A and M cleared before the size key is rebuilt; the lot's total and integer
// average over every day of the lot; the spare quantity by the name type's threshold and the
// spoilage allowance (a threshold or allowance of 0 or less, or a name type missing from the
// master, leaves the line's value); the product-number class before its brand, the house brand
// 'OSTERA' for a blank brand before the brand name; the factory's names and origin. Only lines
// whose values change are written, so that a run over a completed day reads without rewriting.
QString enrichmentStatement();

// Runs it for the day; throws DbError when the database refuses it.
void enrichDay(Db &db, Progress &progress, const QString &impDate);
