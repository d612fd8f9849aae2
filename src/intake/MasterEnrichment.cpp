#include "MasterEnrichment.h"

#include "Db.h"
#include "Progress.h"

#include <QStringList>

namespace {

// The product-number class is the first three characters when the third is not numeric and
// the first two otherwise. "Numeric" for one character is what SQL Server's IsNumeric answers:
// the digits and + - . , $ \.
const char *const kHinbanClass =
    "CASE WHEN substr(L.HINBAN, 3, 1) IN "
    "('0','1','2','3','4','5','6','7','8','9','+','-','.',',','$','\\') "
    "THEN substr(L.HINBAN, 1, 2) ELSE substr(L.HINBAN, 1, 3) END";

// Master colour for lines marked 'C' that the colour master knows, else the file's colour.
const char *const kColour = "CASE WHEN L.SCN = 'C' AND MC.S_TBL IS NOT NULL "
                            "THEN MC.COL ELSE L.COL END";

const char *const kEndCode = "CASE WHEN L.S_END IN ('A', 'M') THEN '' ELSE L.S_END END";

// Brand of the class when the class master has it, else the line's own.
const char *const kClassBrand = "CASE WHEN HK.HINBAN_KBN IS NOT NULL THEN HK.BR_CD "
                                "ELSE L.BR_CD END";

// The day's lines (L) with every value the masters give them, before the brand name: the
// brand code decides which brand master row names it.
QString completedLines()
{
    const QString colour = QLatin1String(kColour);
    const QString brand = QLatin1String(kClassBrand);
    const QStringList values{
        QStringLiteral("L.IMP_DATE"),
        QStringLiteral("L.IMP_LN"),
        QStringLiteral("CASE WHEN %1 = '' THEN 'WH' ELSE %1 END AS COL").arg(colour),
        QStringLiteral("%1 AS S_END").arg(QLatin1String(kEndCode)),
        QStringLiteral("T.SU2 AS LOT_SU"),
        QStringLiteral("T.AVG2 AS LOT_AVG"),
        QStringLiteral("CASE WHEN MCAR.SPARE_SU0 > 0 THEN CASE WHEN MCAR.SPARE_SU0 >= L.SU "
                       "THEN MCAR.SPARE_SU1 ELSE MCAR.SPARE_SU2 END ELSE L.SPARE_SU END "
                       "AS SPARE_SU"),
        QStringLiteral("CASE WHEN MCAR.YARE_SU > 0 THEN MCAR.YARE_SU ELSE L.YARE_SU END "
                       "AS YARE_SU"),
        QStringLiteral("%1 AS HINBAN_KBN").arg(QLatin1String(kHinbanClass)),
        QStringLiteral("%1 || L.S_TBL || L.S_FLD || L.ROW AS SIZE_KEY")
            .arg(QLatin1String(kEndCode)),
        QStringLiteral("CASE WHEN %1 = '' THEN 'OSTERA' ELSE %1 END AS BR_CD").arg(brand),
        QStringLiteral("L.BR_NM AS BR_NM"),
        QStringLiteral("CASE WHEN MF.FC_RG IS NOT NULL THEN MF.FC_NM ELSE L.FC_NM END AS FC_NM"),
        QStringLiteral("CASE WHEN MF.FC_RG IS NOT NULL THEN MF.FC_RNM ELSE L.FC_RNM END "
                       "AS FC_RNM"),
        QStringLiteral("CASE WHEN MF.FC_RG IS NOT NULL THEN MF.GENSAN ELSE L.GENSAN1 END "
                       "AS GENSAN1"),
    };
    // The lot totals run over every day of the day's lots (through the lot-number index):
    // the same totals as over the whole table, without reading every earlier day.
    return QStringLiteral("SELECT ") + values.join(QStringLiteral(", ")) +
           QStringLiteral(
               " FROM TBL_ORDER L "
               "JOIN (SELECT LOT_NO, SUM(SU) SU2, SUM(SU) / COUNT(SU) AVG2 FROM TBL_ORDER "
               "WHERE LOT_NO IN (SELECT LOT_NO FROM TBL_ORDER WHERE IMP_DATE = :d) "
               "GROUP BY LOT_NO) T ON T.LOT_NO = L.LOT_NO "
               "LEFT JOIN MST_COL MC ON MC.S_TBL = L.S_TBL AND MC.S_FLD = L.S_FLD "
               "LEFT JOIN MST_CAR MCAR ON MCAR.CAR_CD = L.CAR_CD "
               "LEFT JOIN MST_HINBANKUBUN HK ON HK.HINBAN_KBN = ") +
           QLatin1String(kHinbanClass) +
           QStringLiteral(" LEFT JOIN MST_FACTORY MF ON MF.FC_RG = L.FC_RG AND MF.FC_CD = L.FC_CD "
                          "WHERE L.IMP_DATE = :d");
}

const char *const kColumns[] = {"COL",     "S_END",      "LOT_SU",   "LOT_AVG", "SPARE_SU",
                                "YARE_SU", "HINBAN_KBN", "SIZE_KEY", "BR_CD",   "BR_NM",
                                "FC_NM",   "FC_RNM",     "GENSAN1"};

} // namespace

QString enrichmentStatement()
{
    QStringList assignments;
    QStringList changes;
    for (const char *column : kColumns) {
        const QString c = QLatin1String(column);
        assignments << c + QStringLiteral(" = N.") + c;
        changes << QStringLiteral("TBL_ORDER.") + c + QStringLiteral(" <> N.") + c;
    }
    // The brand name follows the completed brand code, the default brand's included.
    const QString completed =
        QStringLiteral("SELECT C.IMP_DATE, C.IMP_LN, C.COL, C.S_END, C.LOT_SU, C.LOT_AVG, "
                       "C.SPARE_SU, C.YARE_SU, C.HINBAN_KBN, C.SIZE_KEY, C.BR_CD, "
                       "CASE WHEN MB.BR_CD IS NOT NULL THEN MB.BR_NM ELSE C.BR_NM END AS BR_NM, "
                       "C.FC_NM, C.FC_RNM, C.GENSAN1 FROM (") +
        completedLines() + QStringLiteral(") C LEFT JOIN MST_BRAND MB ON MB.BR_CD = C.BR_CD");
    return QStringLiteral("UPDATE TBL_ORDER SET ") + assignments.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM (") + completed +
           QStringLiteral(") N WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.IMP_DATE = N.IMP_DATE "
                          "AND TBL_ORDER.IMP_LN = N.IMP_LN AND (") +
           changes.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

void enrichDay(Db &db, Progress &progress, const QString &impDate)
{
    progress.start(QStringLiteral("マスタ参照..."), 1);
    db.exec(enrichmentStatement(), {{QStringLiteral("d"), impDate}});
    progress.step(1);
}
