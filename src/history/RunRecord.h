// One conversion run as the run history keeps it (TBL_RUN and its files).
#pragma once

#include <QString>
#include <QStringList>

struct RunRecord {
    QString impDate;
    QString stamp;       // B1 of the run's lines
    QString user;        // who converted
    QString computer;    // on which workstation
    QString machine;     // 生産機種: 指定無し, 熱転写 or 凸版
    QString setDateFrom; // the set-date range as typed ('' when none)
    QString setDateTo;
    QString special;    // 特定変換 as given ('' when none)
    int orderCount = 0; // the four counts of the result report
    int artworkRows = 0;
    int printRows = 0;
    int reportRows = 0;
    QString state;     // 変換済, 取消 or 確定
    QString stateUser; // who set the state, and when
    QString stateTime;
    QStringList files; // full paths of the files written, in the order they were written
};
