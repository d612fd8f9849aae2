#include "WorkTables.h"

#include "Db.h"
#include "Dialogs.h"
#include "OrderState.h"

#include <functional>
#include <utility>

namespace {

// The run's lines with the masters they refer to; a missing master row gives '' or 0.
const QString kRunLines =
    QStringLiteral(" FROM TBL_ORDER O"
                   " LEFT JOIN MST_CAR C ON C.CAR_CD = O.CAR_CD"
                   " LEFT JOIN MST_QUL Q ON Q.QUL_KEY = O.QUL_KEY"
                   " LEFT JOIN MST_FACTORY F ON F.FC_RG = O.FC_RG AND F.FC_CD = O.FC_CD"
                   " LEFT JOIN MST_SIZ S ON S.SIZE_KEY = O.SIZE_KEY"
                   " WHERE ") +
    OrderState::inRunningConversion(QStringLiteral("O"));

QString text(const QString &alias, const QString &column)
{
    return QStringLiteral("COALESCE(%1.%2, '')").arg(alias, column);
}

QStringList qualityContentColumns()
{
    QStringList columns{QStringLiteral("QUL_NO")};
    for (int i = 1; i <= 10; ++i)
        columns << QStringLiteral("BUI%1").arg(i) << QStringLiteral("SOS%1").arg(i)
                << QStringLiteral("KON%1").arg(i);
    for (int i = 1; i <= 6; ++i)
        columns << QStringLiteral("EHJ%1").arg(i);
    columns << QStringLiteral("EFUKI1") << QStringLiteral("EFUKI2");
    return columns;
}

using Pairs = QList<std::pair<QString, QString>>; // column, expression

QString insertSelect(const QString &table, const Pairs &pairs, const QString &extraCondition)
{
    QStringList columns;
    QStringList expressions;
    for (const auto &[column, expression] : pairs) {
        columns << column;
        expressions << expression;
    }
    return QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') +
           columns.join(QLatin1Char(',')) + QStringLiteral(") SELECT ") +
           expressions.join(QLatin1Char(',')) + kRunLines + extraCondition;
}

// WRK_CSV_C and WRK_CSV_H: one print row per line (GYOU 1); B2 ... B20 keep their default ''.
Pairs printDataPairs(bool artwork)
{
    Pairs p{
        {QStringLiteral("LAYOUT"),
         text(QStringLiteral("C"), QStringLiteral("LAYOUT1")) + QStringLiteral(" || ") +
             text(QStringLiteral("Q"), QStringLiteral("LAYOUT2")) + QStringLiteral(" || ") +
             text(QStringLiteral("Q"), QStringLiteral("LAYOUT3")) + QStringLiteral(" || ") +
             text(QStringLiteral("Q"), QStringLiteral("LAYOUT4"))},
        {QStringLiteral("PRINT_SU"),
         QStringLiteral("CAST(O.SU AS BIGINT) + O.SPARE_SU + O.YARE_SU")},
        {QStringLiteral("ORDER_SU"), QStringLiteral("O.SU")},
        {QStringLiteral("HINBAN"), QStringLiteral("O.HINBAN")},
        {QStringLiteral("COL"), QStringLiteral("O.COL")},
        {QStringLiteral("SIZE0"), text(QStringLiteral("S"), QStringLiteral("SIZE0"))},
        {QStringLiteral("ROW"), QStringLiteral("O.ROW")},
        {QStringLiteral("SIZE_KBN"), QStringLiteral("O.S_TBL || O.S_FLD || O.S_END")},
        {QStringLiteral("CAR_CD"), QStringLiteral("O.CAR_CD")},
        {QStringLiteral("GENSAN"), QStringLiteral("O.GENSAN1")},
        {QStringLiteral("SEISAN_NEN"), QStringLiteral("O.SEISAN_NEN")},
        {QStringLiteral("SEISAN_TUKI"), QStringLiteral("O.SEISAN_TUKI")},
        {QStringLiteral("FC_RG"), QStringLiteral("O.FC_RG")},
    };
    for (const QString &column : qualityContentColumns())
        p.append({column, text(QStringLiteral("Q"), column)});
    for (const char *column : {"KNR_NO", "LOT_NO", "FC_NM", "ORD_DATE", "SET_DATE"})
        p.append({QLatin1String(column), QStringLiteral("O.") + QLatin1String(column)});
    p.append({QStringLiteral("SHO_NM1"), text(QStringLiteral("C"), QStringLiteral("SHO_NM1"))});
    p.append({QStringLiteral("SHO_NM2"), text(QStringLiteral("C"), QStringLiteral("SHO_NM2"))});
    p.append({QStringLiteral("B1"), text(QStringLiteral("C"), QStringLiteral("B1"))});
    if (artwork)
        p.append({QStringLiteral("FILE_NM"),
                  QStringLiteral("replace(O.SET_DATE, '/', '') || '_' || O.FC_RG")});
    p.append({QStringLiteral("SIZE_SORT_LV"), QStringLiteral("COALESCE(S.SIZE_SORT_LV, 0)")});
    p.append({QStringLiteral("GYOU"), QStringLiteral("1")});
    p.append({QStringLiteral("IMP_DATE"), QStringLiteral("O.IMP_DATE")});
    p.append({QStringLiteral("IMP_LN"), QStringLiteral("O.IMP_LN")});
    return p;
}

Pairs reportPairs()
{
    Pairs p;
    for (const char *column : {"IMP_DATE", "IMP_LN", "ORD_NO", "KNR_NO", "LOT_NO", "ORD_DATE",
                               "SET_DATE", "BR_CD", "FC_RG", "FC_CD", "FC_NM"})
        p.append({QLatin1String(column), QStringLiteral("O.") + QLatin1String(column)});
    p.append({QStringLiteral("FC_BIKO1"), text(QStringLiteral("F"), QStringLiteral("BIKO1"))});
    for (const char *column : {"ADRESS1", "ADRESS2", "NOU_NO", "OKR_NO", "SEI_NO"})
        p.append({QLatin1String(column), text(QStringLiteral("F"), QLatin1String(column))});
    p.append({QStringLiteral("GENSAN"), QStringLiteral("O.GENSAN1")});
    for (const char *column : {"CAR_CD", "HINBAN", "COL", "ROW"})
        p.append({QLatin1String(column), QStringLiteral("O.") + QLatin1String(column)});
    p.append({QStringLiteral("SIZE0"), text(QStringLiteral("S"), QStringLiteral("SIZE0"))});
    p.append({QStringLiteral("SIZE_SORT_LV"), QStringLiteral("COALESCE(S.SIZE_SORT_LV, 0)")});
    for (const char *column : {"SEISAN_NEN", "SU", "SPARE_SU", "LOT_SU", "QUL_KEY"})
        p.append({QLatin1String(column), QStringLiteral("O.") + QLatin1String(column)});
    p.append({QStringLiteral("QUL_NO"), text(QStringLiteral("Q"), QStringLiteral("QUL_NO"))});
    p.append({QStringLiteral("DATA_FLG"), QStringLiteral("O.DATA_FLG")});
    p.append({QStringLiteral("SHO_NM1"), text(QStringLiteral("C"), QStringLiteral("SHO_NM1"))});
    p.append({QStringLiteral("SHO_NM2"), text(QStringLiteral("C"), QStringLiteral("SHO_NM2"))});
    p.append({QStringLiteral("SHO_BIKO1"), text(QStringLiteral("C"), QStringLiteral("BIKO1"))});
    p.append({QStringLiteral("D_SHO_CD"), text(QStringLiteral("C"), QStringLiteral("D_SHO_CD"))});
    p.append({QStringLiteral("O_SHO_CD"), text(QStringLiteral("C"), QStringLiteral("O_SHO_CD"))});
    return p;
}

void replaceTable(Db &db, const QString &table)
{
    Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM ") + table);
    db.exec(workTableInsert(table));
    tx.commit();
}

// Runs one procedure under the step's time limit; the limit is lifted on every path.
Outcome runStep(Db &db, Dialogs &dialogs, int timeoutMs, const std::function<void(Db &)> &procedure)
{
    Outcome result = Outcome::Done;
    try {
        db.setStatementTimeout(timeoutMs);
        procedure(db);
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        result = Outcome::Failed;
    }
    try {
        db.setStatementTimeout(0);
    } catch (const DbError &) {
        // A lost connection has no limit left to lift.
    }
    return result;
}

} // namespace

const QStringList &printDataColumns()
{
    static const QStringList columns = [] {
        QStringList c{
            QStringLiteral("LAYOUT"), QStringLiteral("PRINT_SU"),   QStringLiteral("ORDER_SU"),
            QStringLiteral("HINBAN"), QStringLiteral("COL"),        QStringLiteral("SIZE0"),
            QStringLiteral("ROW"),    QStringLiteral("SIZE_KBN"),   QStringLiteral("CAR_CD"),
            QStringLiteral("GENSAN"), QStringLiteral("SEISAN_NEN"), QStringLiteral("SEISAN_TUKI"),
            QStringLiteral("FC_RG")};
        c << qualityContentColumns();
        c << QStringLiteral("KNR_NO") << QStringLiteral("LOT_NO") << QStringLiteral("FC_NM")
          << QStringLiteral("ORD_DATE") << QStringLiteral("SET_DATE") << QStringLiteral("SHO_NM1")
          << QStringLiteral("SHO_NM2");
        for (int i = 1; i <= 20; ++i)
            c << QStringLiteral("B%1").arg(i);
        return c;
    }();
    return columns;
}

QString workTableInsert(const QString &table)
{
    if (table == QLatin1String("WRK_CSV_H"))
        return insertSelect(table, printDataPairs(true), QStringLiteral(" AND O.DATA_FLG = '0'"));
    if (table == QLatin1String("WRK_CSV_C"))
        return insertSelect(table, printDataPairs(false), QStringLiteral(" AND O.DATA_FLG = '1'"));
    return insertSelect(table, reportPairs(), QString());
}

void wc_csvh(Db &db)
{
    replaceTable(db, QStringLiteral("WRK_CSV_H"));
}

void wc_csvc(Db &db)
{
    replaceTable(db, QStringLiteral("WRK_CSV_C"));
}

void wc_rpt(Db &db)
{
    replaceTable(db, QStringLiteral("WRK_RPT"));
}

Outcome buildArtworkTable(Db &db, Dialogs &dialogs, int timeoutMs)
{
    return runStep(db, dialogs, timeoutMs, wc_csvh);
}

Outcome buildReportTable(Db &db, Dialogs &dialogs, int timeoutMs)
{
    return runStep(db, dialogs, timeoutMs, wc_rpt);
}

Outcome buildThermalTable(Db &db, Dialogs &dialogs, int timeoutMs)
{
    return runStep(db, dialogs, timeoutMs, wc_csvc);
}
