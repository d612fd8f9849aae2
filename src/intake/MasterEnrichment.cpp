#include "MasterEnrichment.h"

#include "Db.h"
#include "Progress.h"

namespace {

// The product-number class is the first three characters when the third is not numeric and
// the first two otherwise. "Numeric" for one character is what SQL Server's IsNumeric answers:
// the digits and + - . , $ \.
const char *const kHinbanClass =
    "CASE WHEN substr(TBL_ORDER.HINBAN, 3, 1) IN "
    "('0','1','2','3','4','5','6','7','8','9','+','-','.',',','$','\\') "
    "THEN substr(TBL_ORDER.HINBAN, 1, 2) ELSE substr(TBL_ORDER.HINBAN, 1, 3) END";

const char *const kSizeKey =
    "TBL_ORDER.S_END || TBL_ORDER.S_TBL || TBL_ORDER.S_FLD || TBL_ORDER.ROW";

// Every line of every day that shares a lot with the day's lines; only the day's lots are
// summed (through the lot-number index), which gives the same totals as summing the whole
// table without reading every earlier day.
QString lotStatement(const char *column, const char *aggregate)
{
    return QStringLiteral("UPDATE TBL_ORDER SET %1 = M1.SU2 FROM (SELECT LOT_NO, %2 SU2 "
                          "FROM TBL_ORDER WHERE LOT_NO IN "
                          "(SELECT LOT_NO FROM TBL_ORDER WHERE IMP_DATE = :d) "
                          "GROUP BY LOT_NO) M1 "
                          "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.LOT_NO = M1.LOT_NO "
                          "AND TBL_ORDER.%1 <> M1.SU2")
        .arg(QLatin1String(column), QLatin1String(aggregate));
}

} // namespace

QStringList enrichmentStatements()
{
    return {
        // 1. Colour of the size table and field, for lines marked 'C'.
        QStringLiteral("UPDATE TBL_ORDER SET COL = MST_COL.COL FROM MST_COL "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.S_TBL = MST_COL.S_TBL "
                       "AND TBL_ORDER.S_FLD = MST_COL.S_FLD AND TBL_ORDER.SCN = 'C' "
                       "AND TBL_ORDER.COL <> MST_COL.COL"),
        // 2. Any line still without a colour is white.
        QStringLiteral("UPDATE TBL_ORDER SET COL = 'WH' "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.COL = ''"),
        // 3. The end codes A and M are not printed.
        QStringLiteral("UPDATE TBL_ORDER SET S_END = '' "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.S_END IN ('A', 'M')"),
        // 4. and 5. Total and integer average of the lot over every day.
        lotStatement("LOT_SU", "SUM(SU)"),
        lotStatement("LOT_AVG", "SUM(SU) / COUNT(SU)"),
        // 6. and 7. Spare quantity below and above the name type's threshold.
        QStringLiteral("UPDATE TBL_ORDER SET SPARE_SU = MST_CAR.SPARE_SU1 FROM MST_CAR "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.CAR_CD = MST_CAR.CAR_CD "
                       "AND MST_CAR.SPARE_SU0 >= TBL_ORDER.SU AND MST_CAR.SPARE_SU0 > 0 "
                       "AND TBL_ORDER.SPARE_SU <> MST_CAR.SPARE_SU1"),
        QStringLiteral("UPDATE TBL_ORDER SET SPARE_SU = MST_CAR.SPARE_SU2 FROM MST_CAR "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.CAR_CD = MST_CAR.CAR_CD "
                       "AND MST_CAR.SPARE_SU0 < TBL_ORDER.SU AND MST_CAR.SPARE_SU0 > 0 "
                       "AND TBL_ORDER.SPARE_SU <> MST_CAR.SPARE_SU2"),
        // 8. Spoilage allowance.
        QStringLiteral("UPDATE TBL_ORDER SET YARE_SU = MST_CAR.YARE_SU FROM MST_CAR "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.CAR_CD = MST_CAR.CAR_CD "
                       "AND MST_CAR.YARE_SU > 0 AND TBL_ORDER.YARE_SU <> MST_CAR.YARE_SU"),
        // 9. Product-number class.
        QStringLiteral("UPDATE TBL_ORDER SET HINBAN_KBN = %1 "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.HINBAN_KBN <> %1")
            .arg(QLatin1String(kHinbanClass)),
        // 10. Size key, now with the cleared end codes.
        QStringLiteral("UPDATE TBL_ORDER SET SIZE_KEY = %1 "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.SIZE_KEY <> %1")
            .arg(QLatin1String(kSizeKey)),
        // 11. and 12. Brand of the class, else the house brand.
        QStringLiteral("UPDATE TBL_ORDER SET BR_CD = MST_HINBANKUBUN.BR_CD FROM MST_HINBANKUBUN "
                       "WHERE TBL_ORDER.HINBAN_KBN = MST_HINBANKUBUN.HINBAN_KBN "
                       "AND TBL_ORDER.IMP_DATE = :d "
                       "AND TBL_ORDER.BR_CD <> MST_HINBANKUBUN.BR_CD"),
        QStringLiteral("UPDATE TBL_ORDER SET BR_CD = 'OSTERA' "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.BR_CD = ''"),
        // 13. Brand name (the house brand's too, when the brand master has it).
        QStringLiteral("UPDATE TBL_ORDER SET BR_NM = MST_BRAND.BR_NM FROM MST_BRAND "
                       "WHERE TBL_ORDER.BR_CD = MST_BRAND.BR_CD AND TBL_ORDER.IMP_DATE = :d "
                       "AND TBL_ORDER.BR_NM <> MST_BRAND.BR_NM"),
        // 14. Factory name, short name and country of origin.
        QStringLiteral("UPDATE TBL_ORDER SET FC_NM = MST_FACTORY.FC_NM, "
                       "FC_RNM = MST_FACTORY.FC_RNM, GENSAN1 = MST_FACTORY.GENSAN "
                       "FROM MST_FACTORY "
                       "WHERE TBL_ORDER.FC_RG = MST_FACTORY.FC_RG "
                       "AND TBL_ORDER.FC_CD = MST_FACTORY.FC_CD AND TBL_ORDER.IMP_DATE = :d "
                       "AND (TBL_ORDER.FC_NM <> MST_FACTORY.FC_NM "
                       "OR TBL_ORDER.FC_RNM <> MST_FACTORY.FC_RNM "
                       "OR TBL_ORDER.GENSAN1 <> MST_FACTORY.GENSAN)"),
    };
}

void enrichDay(Db &db, Progress &progress, const QString &impDate)
{
    const QStringList statements = enrichmentStatements();
    progress.start(QStringLiteral("マスタ参照..."), int(statements.size()));
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    for (int i = 0; i < statements.size(); ++i) {
        db.exec(statements.at(i), day);
        progress.step(i + 1);
    }
}
