// Completion of one import date's order lines from the masters: colour, end code, lot totals,
// spare and spoilage quantities, product-number class, size key, brand, factory names.
#pragma once

#include <QString>
#include <QStringList>

class Db;
class Progress;

// The fourteen statements in their binding order (the end code is cleared before the size key
// is rebuilt, the class precedes the brand, the default brand precedes the brand name). Each
// takes the import date as :d and only writes lines whose value changes, so that a repeated
// run over a completed day reads without rewriting.
QStringList enrichmentStatements();

// Runs them for the day; throws DbError at the first statement the database refuses.
void enrichDay(Db &db, Progress &progress, const QString &impDate);
