// A small master set for the intake tests: the default OrderLine passes all six checks.
#pragma once

#include "Db.h"

#include <QStringList>

inline void loadTestMasters(Db &db)
{
    const QStringList statements{
        "INSERT INTO MST_HINBANKUBUN(HINBAN_KBN, BR_CD) VALUES('OS', 'OSBLUE')",
        "INSERT INTO MST_HINBANKUBUN(HINBAN_KBN, BR_CD) VALUES('ABC', 'ABCBR')",
        "INSERT INTO MST_HINBANKUBUN(HINBAN_KBN, BR_CD) VALUES('NB', '')",
        "INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES('OSBLUE', 'オステラ ブルー')",
        "INSERT INTO MST_FACTORY(FC_RG, FC_CD, FC_RNM, FC_NM, GENSAN) "
        "VALUES('TK', 'J13001', '東京', '東京縫製株式会社', '日本製')",
        "INSERT INTO MST_FACTORY(FC_RG, FC_CD, FC_RNM, FC_NM, GENSAN) "
        "VALUES('SH', 'C31005', '上海', '上海服飾有限公司', '中国製')",
        "INSERT INTO MST_QUL(QUL_KEY) VALUES('CT1000')",
        "INSERT INTO MST_SIZ(SIZE_KEY) VALUES('M0201')",
        "INSERT INTO MST_TARVOLIN_SIZE(ROW, SIZE_KBN) VALUES('01', 'M02')",
        "INSERT INTO MST_ROW(ROW) VALUES('01')",
        "INSERT INTO MST_CAR(CAR_CD, SPARE_SU0, SPARE_SU1, SPARE_SU2, YARE_SU) "
        "VALUES('A', 100, 5, 10, 20)",
        "INSERT INTO MST_CAR(CAR_CD, SPARE_SU0, SPARE_SU1, SPARE_SU2, YARE_SU) "
        "VALUES('Z', 0, 5, 10, 0)",
        "INSERT INTO MST_COL(S_TBL, S_FLD, COL) VALUES('K', '01', 'RD')",
        "INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES('2026', '12', '0')",
    };
    for (const QString &sql : statements)
        db.exec(sql);
}
