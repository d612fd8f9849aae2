#include "MasterEnrichment.h"

#include "AuditTrail.h"
#include "Db.h"
#include "HistoryWrite.h"
#include "OrderState.h"
#include "Progress.h"

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

// The completed values before the brand name (the brand code decides which brand master row
// names the line), as "expression AS column", in the order of completedColumns().
QStringList valuesBeforeBrandName()
{
    const QString colour = QLatin1String(kColour);
    const QString brand = QLatin1String(kClassBrand);
    return {
        QStringLiteral("CASE WHEN %1 = '' THEN 'WH' ELSE %1 END AS COL").arg(colour),
        QStringLiteral("%1 AS S_END").arg(QLatin1String(kEndCode)),
        QStringLiteral("T.SU2 AS LOT_SU"),
        QStringLiteral("T.SU2 / T.CNT2 AS LOT_AVG"),
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
}

QStringList prefixed(const QString &alias, const QStringList &columns)
{
    QStringList result;
    for (const QString &c : columns)
        result << alias + c;
    return result;
}

} // namespace

QString lotTotals(const QString &lines, const QString &condition, bool linesInTable)
{
    // Per lot (the grouping keeps each lookup to one per lot).
    const QString earlier = QStringLiteral(" FROM TBL_ORDER X WHERE X.LOT_NO = D.LOT_NO)");
    const QString sum = QStringLiteral("(SELECT SUM(X.SU)") + earlier;
    const QString count = QStringLiteral("(SELECT COUNT(X.SU)") + earlier;
    const QString totals =
        linesInTable ? sum + QStringLiteral(" AS SU2, ") + count + QStringLiteral(" AS CNT2")
                     : QStringLiteral("SUM(D.SU) + COALESCE(") + sum +
                           QStringLiteral(", 0) AS SU2, COUNT(D.SU) + ") + count +
                           QStringLiteral(" AS CNT2");
    return QStringLiteral("SELECT D.LOT_NO, ") + totals + QStringLiteral(" FROM ") + lines +
           QStringLiteral(" D") +
           (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition) +
           QStringLiteral(" GROUP BY D.LOT_NO");
}

QStringList completedColumns()
{
    return {QStringLiteral("COL"),        QStringLiteral("S_END"),    QStringLiteral("LOT_SU"),
            QStringLiteral("LOT_AVG"),    QStringLiteral("SPARE_SU"), QStringLiteral("YARE_SU"),
            QStringLiteral("HINBAN_KBN"), QStringLiteral("SIZE_KEY"), QStringLiteral("BR_CD"),
            QStringLiteral("BR_NM"),      QStringLiteral("FC_NM"),    QStringLiteral("FC_RNM"),
            QStringLiteral("GENSAN1")};
}

QString completedLinesSelect(const QString &lines, const QString &condition, const QString &lots,
                             const QStringList &passThrough)
{
    const QStringList keys{QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN")};
    const QString inner =
        QStringLiteral("SELECT ") +
        (prefixed(QStringLiteral("L."), keys + passThrough) + valuesBeforeBrandName())
            .join(QStringLiteral(", ")) +
        QStringLiteral(" FROM ") + lines + QStringLiteral(" L JOIN (") + lots +
        QStringLiteral(") T ON T.LOT_NO = L.LOT_NO "
                       "LEFT JOIN MST_COL MC ON MC.S_TBL = L.S_TBL AND MC.S_FLD = L.S_FLD "
                       "LEFT JOIN MST_CAR MCAR ON MCAR.CAR_CD = L.CAR_CD "
                       "LEFT JOIN MST_HINBANKUBUN HK ON HK.HINBAN_KBN = ") +
        QLatin1String(kHinbanClass) +
        QStringLiteral(" LEFT JOIN MST_FACTORY MF ON MF.FC_RG = L.FC_RG AND MF.FC_CD = L.FC_CD") +
        (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition);
    // The brand name follows the completed brand code, the house brand's included.
    QStringList outer = prefixed(QStringLiteral("C."), keys + passThrough);
    for (const QString &c : completedColumns())
        outer << (c == QLatin1String("BR_NM")
                      ? QStringLiteral("CASE WHEN MB.BR_CD IS NOT NULL THEN MB.BR_NM "
                                       "ELSE C.BR_NM END AS BR_NM")
                      : QStringLiteral("C.") + c);
    return QStringLiteral("SELECT ") + outer.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM (") + inner +
           QStringLiteral(") C LEFT JOIN MST_BRAND MB ON MB.BR_CD = C.BR_CD");
}

QString changedLinesSelect()
{
    // The day's open lines with their completed values beside their present ones (OLD_...),
    // kept only where a value changes: on a completed day nothing is left, and the lines
    // themselves are not read a second time.
    QStringList present{QStringLiteral("TBL_ORDER.*")};
    QStringList presentColumns;
    QStringList changes;
    for (const QString &c : completedColumns()) {
        present << c + QStringLiteral(" AS OLD_") + c;
        presentColumns << QStringLiteral("OLD_") + c;
        changes << QStringLiteral("Z.") + c + QStringLiteral(" <> Z.OLD_") + c;
    }
    const QString open = OrderState::openLines(QStringLiteral("L"));
    const QString day =
        completedLinesSelect(QStringLiteral("(SELECT ") + present.join(QStringLiteral(", ")) +
                                 QStringLiteral(" FROM TBL_ORDER)"),
                             QStringLiteral("L.IMP_DATE = :d AND ") + open,
                             lotTotals(QStringLiteral("TBL_ORDER"),
                                       QStringLiteral("D.IMP_DATE = :d AND ") +
                                           OrderState::openLines(QStringLiteral("D")),
                                       true),
                             presentColumns);
    return QStringLiteral("SELECT * FROM (") + day + QStringLiteral(") Z WHERE ") +
           changes.join(QStringLiteral(" OR "));
}

namespace {

QString updateFrom(const QString &source)
{
    QStringList assignments;
    for (const QString &c : completedColumns())
        assignments << c + QStringLiteral(" = N.") + c;
    return QStringLiteral("UPDATE TBL_ORDER SET ") + assignments.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM ") + source +
           QStringLiteral(" N WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.IMP_DATE = N.IMP_DATE "
                          "AND TBL_ORDER.IMP_LN = N.IMP_LN");
}

const QString kChangedLines = QStringLiteral("ENRICHED_LINES");

// The changed lines are kept aside once, so that the trail and the update read the same
// values and the day is completed in one read. The table is declared first: PostgreSQL
// prepares no CREATE TABLE ... AS with bound values.
void enrichRecorded(Db &db, const QVariantMap &day, HistoryWrite &record)
{
    static const QStringList numbers{QStringLiteral("LOT_SU"), QStringLiteral("LOT_AVG"),
                                     QStringLiteral("SPARE_SU"), QStringLiteral("YARE_SU")};
    QStringList definitions{QStringLiteral("IMP_DATE TEXT"), QStringLiteral("IMP_LN INTEGER")};
    QStringList names{QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN")};
    for (const QString &prefix : {QStringLiteral("OLD_"), QString()}) {
        for (const QString &c : completedColumns()) {
            definitions << prefix + c +
                               (numbers.contains(c) ? QStringLiteral(" BIGINT")
                                                    : QStringLiteral(" TEXT"));
            names << prefix + c;
        }
    }
    db.exec(QStringLiteral("DROP TABLE IF EXISTS ") + kChangedLines);
    db.exec(QStringLiteral("CREATE TEMP TABLE ") + kChangedLines + QLatin1Char('(') +
            definitions.join(QStringLiteral(", ")) + QLatin1Char(')'));
    db.exec(QStringLiteral("INSERT INTO ") + kChangedLines + QLatin1Char('(') +
                names.join(QStringLiteral(", ")) + QStringLiteral(") ") + changedLinesSelect(),
            day);
    AuditTrail(record, AuditTrail::kEnrichment)
        .beforeTakingValues(kChangedLines, completedColumns());
    db.exec(updateFrom(kChangedLines), day);
    db.exec(QStringLiteral("DROP TABLE ") + kChangedLines);
}

} // namespace

QString enrichmentStatement()
{
    return updateFrom(QLatin1Char('(') + changedLinesSelect() + QLatin1Char(')'));
}

void enrichDay(Db &db, Progress &progress, const QString &impDate, HistoryWrite *record)
{
    progress.start(QStringLiteral("マスタ参照..."), 1);
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    if (record)
        enrichRecorded(db, day, *record);
    else
        db.exec(enrichmentStatement(), day);
    progress.step(1);
}
