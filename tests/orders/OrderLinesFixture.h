// Order lines for the order maintenance tests, inserted directly with the columns the screens
// show and filter on; everything else keeps the table's defaults.
#pragma once

#include "Db.h"

#include <QString>
#include <QVariantMap>

namespace OrderLinesFixture {

struct Line {
    QString impDate = QStringLiteral("20261208");
    int ln = 1;
    QString knrNo = QStringLiteral("AB-001");
    QString lotNo = QStringLiteral("L0001");
    QString fcRg = QStringLiteral("AB");
    QString fcRnm = QStringLiteral("第一");
    QString setDate = QStringLiteral("2026/12/10");
    QString hinban = QStringLiteral("H100");
    QString row = QStringLiteral("01");
    QString seisanTuki = QStringLiteral("12");
    QString qulKey = QStringLiteral("Q1");
    QString carCd = QStringLiteral("A");
    int su = 10;
    int lotSu = 20;
    int lotAvg = 10;
    QString printer = QStringLiteral(""); // a null QString would be bound as NULL
    QString dataFlg = QStringLiteral("");
    QString flg1 = QStringLiteral("0");
    QString flg3 = QStringLiteral("0");
    QString flg4 = QStringLiteral("0");
    QString flg5 = QStringLiteral("0");
    QString b2 = QStringLiteral("");
};

inline void add(Db &db, const Line &l)
{
    db.exec(QStringLiteral(
                "INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN, KNR_NO, LOT_NO, FC_RG, FC_RNM, SET_DATE, "
                "HINBAN, ROW, SEISAN_TUKI, QUL_KEY, CAR_CD, SU, LOT_SU, LOT_AVG, PRINTER, "
                "DATA_FLG, FLG1, FLG3, FLG4, FLG5, B2) VALUES(:d, :ln, :knr, :lot, :fc, :rnm, "
                ":set, :hin, :row, :tuki, :qul, :car, :su, :lotsu, :avg, :prn, :dflg, :f1, :f3, "
                ":f4, :f5, :b2)"),
            {{QStringLiteral("d"), l.impDate},    {QStringLiteral("ln"), l.ln},
             {QStringLiteral("knr"), l.knrNo},    {QStringLiteral("lot"), l.lotNo},
             {QStringLiteral("fc"), l.fcRg},      {QStringLiteral("rnm"), l.fcRnm},
             {QStringLiteral("set"), l.setDate},  {QStringLiteral("hin"), l.hinban},
             {QStringLiteral("row"), l.row},      {QStringLiteral("tuki"), l.seisanTuki},
             {QStringLiteral("qul"), l.qulKey},   {QStringLiteral("car"), l.carCd},
             {QStringLiteral("su"), l.su},        {QStringLiteral("lotsu"), l.lotSu},
             {QStringLiteral("avg"), l.lotAvg},   {QStringLiteral("prn"), l.printer},
             {QStringLiteral("dflg"), l.dataFlg}, {QStringLiteral("f1"), l.flg1},
             {QStringLiteral("f3"), l.flg3},      {QStringLiteral("f4"), l.flg4},
             {QStringLiteral("f5"), l.flg5},      {QStringLiteral("b2"), l.b2}});
}

// One column of one line of the day 20261208, as text.
inline QString valueOf(Db &db, int ln, const QString &column,
                       const QString &impDate = QStringLiteral("20261208"))
{
    return db
        .scalar(QStringLiteral("SELECT ") + column +
                    QStringLiteral(" FROM TBL_ORDER WHERE IMP_DATE = :d AND IMP_LN = :ln"),
                {{QStringLiteral("d"), impDate}, {QStringLiteral("ln"), ln}})
        .toString();
}

} // namespace OrderLinesFixture
