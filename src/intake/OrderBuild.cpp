#include "OrderBuild.h"

#include "Db.h"
#include "Dialogs.h"

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

} // namespace

QString manufacturerText()
{
    return QStringLiteral("株式会社\u3000オステラ");
}

int PF_MakeOrder(Db &db, Dialogs &dialogs, const QString &impDate)
{
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    try {
        db.exec(QStringLiteral("DELETE FROM TBL_ORDER WHERE IMP_DATE = :d"), day);
        db.exec(buildStatement(),
                {{QStringLiteral("d"), impDate}, {QStringLiteral("maker"), manufacturerText()}});
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return 1;
    }
    return 0;
}
