#include "CarriedTables.h"

#include "MasterFiles.h"

#include <QHash>

namespace {

QStringList numbered(const QString &prefix, int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << prefix + QString::number(i);
    return names;
}

QStringList orderColumns()
{
    QStringList columns = {
        "IMP_DATE", "IMP_LN",  "KNR_NO",     "LOT_NO",   "ORD_NO",  "FC_RG",      "FC_CD",
        "FC_NM",    "FC_RNM",  "ORD_DATE",   "SET_DATE", "BR_CD",   "BR_NM",      "HINBAN_KBN",
        "HINBAN",   "COL",     "S_END",      "S_TBL",    "S_FLD",   "ROW",        "SCN",
        "SU",       "LOT_SU",  "LOT_AVG",    "SPARE_SU", "YARE_SU", "SEISAN_NEN", "SEISAN_TUKI",
        "GENSAN1",  "GENSAN2", "SEIZOUMOTO", "QUL_KEY",  "JAN_KEY", "SIZE_KEY",   "TAG_CD",
        "CAR_CD",   "STK_CD",  "BTT_CD",     "DATA_FLG", "PRINTER"};
    return columns + numbered(QStringLiteral("FLG"), 1, 10) + numbered(QStringLiteral("B"), 1, 10);
}

QStringList qualityColumns()
{
    QStringList columns = {"QUL_KEY", "QUL_NO", "LAYOUT2", "LAYOUT3", "LAYOUT4"};
    // The content rows as triples, the way every statement of the desk lists them.
    for (int i = 1; i <= 10; ++i)
        columns << QStringLiteral("BUI%1").arg(i) << QStringLiteral("SOS%1").arg(i)
                << QStringLiteral("KON%1").arg(i);
    return columns + numbered(QStringLiteral("EHJ"), 1, 6) +
           QStringList{"EFUKI1", "EFUKI2", "USER_NM", "TIME_STAMP"};
}

const QHash<QString, QStringList> &columnOrders()
{
    static const QHash<QString, QStringList> orders = {
        {"SYS_TUKI", {"NEN", "TUKI", "KAKUTEI_FLG"}},
        {"SYS_IMPDATE", {"IMP_DATE", "KAKUTEI_FLG"}},
        {"SYS_KNR_NO", {"ORD_NEN", "ORD_TUKI", "FC_RG", "KNR_NO"}},
        {"TBL_ORDER", orderColumns()},
        {"TBL_ERR", {"IMP_DATE", "IMP_LN", "ERR_LN", "ERR1", "ERR2", "ERR3"}},
        {"MST_CAR",
         {"CAR_CD", "LAYOUT1", "B1", "O_SHO_CD", "D_SHO_CD", "PRICE", "SHO_NM1", "SHO_NM2",
          "SPARE_SU0", "SPARE_SU1", "SPARE_SU2", "PACKING_SU", "YARE_SU", "BIKO1", "BIKO2",
          "USER_NM", "TIME_STAMP"}},
        {"MST_QUL", qualityColumns()},
        {"MST_FACTORY",
         {"FC_RG", "FC_CD", "FC_RNM", "FC_NM", "GENSAN", "ADRESS1", "ADRESS2", "TEL", "FAX",
          "SEI_NO", "NOU_NO", "OKR_NO", "BIKO1", "BIKO2", "USER_NM", "TIME_STAMP"}},
        {"MST_TARVOLIN_SIZE", {"ROW", "SIZE_KBN", "USER_NM", "TIME_STAMP"}},
        {"MST_COL", {"S_TBL", "S_FLD", "COL"}},
        {"MST_HINBANKUBUN", {"HINBAN_KBN", "BR_CD"}},
        {"MST_BRAND", {"BR_CD", "BR_NM"}},
        {"MST_SIZ", {"SIZE_KEY", "HAN_NO"}},
        {"MST_ROW", {"ROW"}},
        {"MST_QULPLATE", {"QUL_KEY", "SU"}},
        {"MST_PRINTER", {"PRINTER", "DATA_FLG"}},
        {"MST_EHJ", {"EHJ_NO"}},
    };
    return orders;
}

} // namespace

const QStringList &CarriedTables::all()
{
    static const QStringList tables = QStringList{"SYS_TUKI", "SYS_IMPDATE", "SYS_KNR_NO"} +
                                      MasterFiles::tables() + QStringList{"TBL_ORDER", "TBL_ERR"};
    return tables;
}

bool CarriedTables::isCarried(const QString &table)
{
    return all().contains(table.toUpper());
}

QStringList CarriedTables::existingColumnOrder(const QString &table)
{
    return columnOrders().value(table.toUpper());
}

CarriedTables::Form CarriedTables::formOf(const QString &table, const QString &column)
{
    const QString t = table.toUpper();
    const QString c = column.toUpper();
    if (c == QLatin1String("IMP_DATE"))
        return Form::ImportDate;
    if (c == QLatin1String("TIME_STAMP"))
        return Form::Stamp;
    if (c == QLatin1String("KAKUTEI_FLG") || c == QLatin1String("DATA_FLG") ||
        (t == QLatin1String("TBL_ORDER") && c.startsWith(QLatin1String("FLG"))))
        return Form::Flag;
    if ((t == QLatin1String("SYS_TUKI") && c == QLatin1String("TUKI")) ||
        (t == QLatin1String("SYS_KNR_NO") && c == QLatin1String("ORD_TUKI")))
        return Form::TwoDigitMonth;
    if (t == QLatin1String("TBL_ORDER")) {
        if (c == QLatin1String("ORD_DATE") || c == QLatin1String("SET_DATE"))
            return Form::SlashDate;
        if (c == QLatin1String("B1") || c == QLatin1String("B2"))
            return Form::Stamp;
    }
    return Form::Text;
}
