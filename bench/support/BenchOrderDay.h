// The day of order lines the conversion and list benchmarks run on: the demo order file of
// `count` lines read as the import reads it (control numbers per factory, set date, name type
// and lot), loaded into TBL_ORDER for kBenchDay and registered, printers assigned as the
// operators set them with the bulk update, then completed from the masters and checked as the
// import leaves a day.
#pragma once

#include <QString>

class Db;

inline const QString kBenchDay = QStringLiteral("20261208");

void loadBenchDay(Db &db, int count);
