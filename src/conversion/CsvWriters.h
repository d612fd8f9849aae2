// The four writers that turn the work tables of a run into the files the production tools
// read. Each returns 0 on success and 1 after showing the failure's own description; files
// finished before a failure stay, the file being written is removed.
#pragma once

#include <QString>

class Db;
class Dialogs;
class Progress;

// Thermal-transfer print files: one per control number, KNR_NO + ".csv" (an earlier file of
// that name is replaced).
int MF_WriteCsvC(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
// Instruction-artwork files: one per FILE_NM, under a free name.
int MF_WriteCsvH(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
// The lot seal file LSTK.csv (free name): quantities of all sizes of a lot summed on one line.
int MF_WriteLotSeal(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
// The lot sheet file LSHT.csv (free name): one line per report row.
int MF_WriteLotSheet(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
