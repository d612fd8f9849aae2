#include "OrderBuild.h"

#include "Db.h"
#include "Dialogs.h"
#include "MasterEnrichment.h"

#include <QStringList>

#include <utility>

namespace {

// TBL_ORDER's columns and what the build writes into each. Columns the build leaves out
// (LOT_AVG, SPARE_SU, YARE_SU, FC_RNM, DATA_FLG, PRINTER) keep their defaults until the
// enrichment or the order screens fill them.
QList<std::pair<QString, QString>> buildPairs()
{
    const QString empty = QStringLiteral("''");
    auto work = [](const char *column) {
        return std::pair{QString::fromLatin1(column), QStringLiteral("WRK_ORDER.") + column};
    };
    auto constant = [](const char *column, const QString &value) {
        return std::pair{QString::fromLatin1(column), value};
    };
    QList<std::pair<QString, QString>> pairs{
        work("IMP_DATE"),
        work("IMP_LN"),
        work("KNR_NO"),
        work("LOT_NO"),
        constant("ORD_NO", empty),
        work("FC_RG"),
        work("FC_CD"),
        constant("FC_NM", empty),
        work("ORD_DATE"),
        work("SET_DATE"),
        constant("BR_CD", empty),
        constant("BR_NM", empty),
        constant("HINBAN_KBN", empty),
        work("HINBAN"),
        work("COL"),
        work("S_END"),
        work("S_TBL"),
        work("S_FLD"),
        work("ROW"),
        work("SCN"),
        work("SU"),
        work("LOT_SU"),
        work("SEISAN_NEN"),
        work("SEISAN_TUKI"),
        constant("GENSAN1", empty),
        constant("GENSAN2", empty),
        // Every line of the day carries the manufacturer (the work table holds that day only).
        constant("SEIZOUMOTO", QStringLiteral("CASE WHEN WRK_ORDER.IMP_DATE = :d THEN :maker "
                                              "ELSE '' END")),
        work("QUL_KEY"),
        constant("JAN_KEY", empty),
        constant("SIZE_KEY", QStringLiteral("WRK_ORDER.S_END || WRK_ORDER.S_TBL || "
                                            "WRK_ORDER.S_FLD || WRK_ORDER.ROW")),
        constant("TAG_CD", empty),
        work("CAR_CD"),
        constant("STK_CD", empty),
        constant("BTT_CD", empty),
    };
    for (int i = 1; i <= 10; ++i)
        pairs.append({QStringLiteral("FLG%1").arg(i), QStringLiteral("'0'")});
    for (int i = 1; i <= 10; ++i)
        pairs.append({QStringLiteral("B%1").arg(i), empty});
    return pairs;
}

QString buildStatement()
{
    QStringList columns;
    QStringList expressions;
    for (const auto &[column, expression] : buildPairs()) {
        columns << column;
        expressions << expression;
    }
    // The work table holds the one day being imported.
    return QStringLiteral("INSERT INTO TBL_ORDER(") + columns.join(QLatin1Char(',')) +
           QStringLiteral(") SELECT ") + expressions.join(QLatin1Char(',')) +
           QStringLiteral(" FROM WRK_ORDER");
}

// The same lines, completed from the masters as the enrichment would complete them right
// after (the lot totals over the earlier days' lines of the day's lots and the day's own), so
// that the enrichment finds nothing to rewrite. The lines as the plain build leaves them are
// the starting point; the columns it leaves out start from the schema's defaults.
QString completedBuildStatement()
{
    const QStringList completed = completedColumns();
    QStringList lineValues;
    QStringList passThrough;
    for (const auto &[column, expression] : buildPairs()) {
        lineValues << expression + QStringLiteral(" AS ") + column;
        if (!completed.contains(column) && column != QLatin1String("IMP_DATE") &&
            column != QLatin1String("IMP_LN"))
            passThrough << column;
    }
    lineValues << QStringLiteral("0 AS LOT_AVG") << QStringLiteral("0 AS SPARE_SU")
               << QStringLiteral("0 AS YARE_SU") << QStringLiteral("'' AS FC_RNM");
    const QString lines = QStringLiteral("(SELECT ") + lineValues.join(QStringLiteral(", ")) +
                          QStringLiteral(" FROM WRK_ORDER)");
    // The day's lines are in the work table, the earlier days' in TBL_ORDER.
    const QString lots = lotTotals(QStringLiteral("WRK_ORDER"), QString(), false);
    const QStringList columns =
        QStringList{QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN")} + passThrough + completed;
    return QStringLiteral("INSERT INTO TBL_ORDER(") + columns.join(QLatin1Char(',')) +
           QStringLiteral(") ") + completedLinesSelect(lines, QString(), lots, passThrough);
}

// The completed build applies when the work table holds the day alone, as the file import
// leaves it; the statement then reads every work row, since the work table's statistics may
// still describe the previous import, whose date would make the day look empty to the planner.
// Should it fail (a master the database refuses to read, a lot total beyond the column's
// range), the plain build goes in instead and the enrichment meets the fault in its own run,
// reported as an enrichment failure as before.
bool completedBuild(Db &db, const QVariantMap &params)
{
    if (db.exists(QStringLiteral("SELECT 1 FROM WRK_ORDER WHERE IMP_DATE <> :d"),
                  {{QStringLiteral("d"), params.value(QStringLiteral("d"))}}))
        return false;
    try {
        Transaction attempt(db);
        db.exec(completedBuildStatement(), params);
        attempt.commit();
    } catch (const DbError &) {
        return false;
    }
    return true;
}

} // namespace

QString manufacturerText()
{
    return QStringLiteral("株式会社\u3000オステラ");
}

Outcome buildOrders(Db &db, Dialogs &dialogs, const QString &impDate)
{
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    try {
        db.exec(QStringLiteral("DELETE FROM TBL_ORDER WHERE IMP_DATE = :d"), day);
        const QVariantMap params{{QStringLiteral("d"), impDate},
                                 {QStringLiteral("maker"), manufacturerText()}};
        if (!completedBuild(db, params))
            db.exec(buildStatement(), params);
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}
