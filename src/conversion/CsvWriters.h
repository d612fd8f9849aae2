// The four writers that turn the work tables of a run into the files the production tools
// read, and the check of their names that comes before them. Each returns Done, or after
// showing the failure's own description Failed (the check of the names: Refused for a name it
// refuses); a writer leaves the files it finished before a failure (the run removes them), the
// file being written is removed. No file replaces another: each takes the first free name
// among NAME.csv, NAME_1.csv ... NAME_99.csv.
#pragma once

#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;
class Progress;

// Refuses, before any file of the run is written, a name made from a line's data (a control
// number of WRK_CSV_C when the run is thermal, a FILE_NM of WRK_CSV_H) that holds "/" or "\"
// or starts with ".", or that meets another name of the run in the same folder (AB_1 is the
// name AB takes when AB.csv exists); the message names the line by its control number.
Outcome checkFileNames(Db &db, Dialogs &dialogs, bool thermal, const QString &carFolder,
                       const QString &hanFolder, const QString &stkFolder,
                       const QString &shtFolder);
// Thermal-transfer print files: one per control number, KNR_NO + ".csv".
Outcome writeThermalFiles(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
// Instruction-artwork files: one per FILE_NM, under a free name.
Outcome writeArtworkFiles(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
// The lot seal file LSTK.csv (free name): quantities of all sizes of a lot summed on one line.
Outcome writeLotSealFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
// The lot sheet file LSHT.csv (free name): one line per report row.
Outcome writeLotSheetFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder);
