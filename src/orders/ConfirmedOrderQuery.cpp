#include "ConfirmedOrderQuery.h"

#include "Db.h"
#include "OrderState.h"
#include "Utilities.h"

namespace {
QString equal(const QString &column, const QString &v)
{
    return QStringLiteral("And ") + column + QStringLiteral(" = ") + Db::quote(v) +
           QLatin1Char(' ');
}
} // namespace

QString ConfirmedOrderQuery::selectList()
{
    // Columns without a Japanese heading are named in capitals too, so that the sheet's
    // headings read the same on both engines.
    return QStringLiteral("Select ") + QStringLiteral("IMP_DATE \"処理日\",") +
           QStringLiteral("IMP_LN \"行\",") + QStringLiteral("PRINTER \"印字機種\",") +
           QStringLiteral("DATA_FLG \"熱転写\",") + QStringLiteral("CAR_CD \"ネーム種\",") +
           QStringLiteral("SU \"数量\",") + QStringLiteral("LOT_SU \"ロット数\",") +
           QStringLiteral("LOT_AVG \"ロット平均数\",") + QStringLiteral("SPARE_SU \"予備数\",") +
           QStringLiteral("YARE_SU \"ヤレ数\",") + QStringLiteral("KNR_NO \"管理No\",") +
           QStringLiteral("LOT_NO \"ロットNO\",") + QStringLiteral("ORD_DATE \"発注日\",") +
           QStringLiteral("SET_DATE \"セット日\",") + QStringLiteral("FC_RG \"工場略号\",") +
           QStringLiteral("FC_CD \"工場コード\",") + QStringLiteral("FC_NM \"工場名\",") +
           QStringLiteral("FC_RNM \"略号\",") + QStringLiteral("HINBAN \"品番\",") +
           QStringLiteral("COL \"COL\",") + QStringLiteral("S_END \"S_END\",") +
           QStringLiteral("S_TBL \"S_TBL\",") + QStringLiteral("S_FLD \"S_FLD\",") +
           QStringLiteral("ROW \"ROW\",") + QStringLiteral("SCN \"SCN\",") +
           QStringLiteral("SEISAN_NEN \"年\",") + QStringLiteral("SEISAN_TUKI \"月\",") +
           QStringLiteral("GENSAN1 \"原産国1\",") + QStringLiteral("GENSAN2 \"原産国2\",") +
           QStringLiteral("SEIZOUMOTO \"製造元\",") + QStringLiteral("QUL_KEY \"品質キー\",") +
           QStringLiteral("SIZE_KEY \"サイズキー\",") + QStringLiteral("B2 \"確定日\" ");
}

QString ConfirmedOrderQuery::wherePart(const ConfirmedOrderFilters &f)
{
    QString w = QStringLiteral("Where ") + OrderState::confirmed() + QLatin1Char(' ');
    if (!f.impDate.isEmpty())
        w += equal(QStringLiteral("IMP_DATE"), f.impDate);
    // A set date typed as 2026/12/9 means the stored 2026/12/09 (dates compare as text).
    const QString from = Db::quote(normalizeDateText(f.setDate1));
    const QString to = Db::quote(normalizeDateText(f.setDate2));
    if (!f.setDate1.isEmpty() && !f.setDate2.isEmpty()) {
        w += QStringLiteral("And SET_DATE Between ") + from + QStringLiteral(" And ") + to +
             QLatin1Char(' ');
    } else {
        if (!f.setDate1.isEmpty())
            w += QStringLiteral("And SET_DATE >= ") + from + QLatin1Char(' ');
        if (!f.setDate2.isEmpty())
            w += QStringLiteral("And SET_DATE <= ") + to + QLatin1Char(' ');
    }
    if (!f.lotNo.isEmpty())
        w += equal(QStringLiteral("LOT_NO"), f.lotNo);
    if (!f.hinban.isEmpty())
        w += equal(QStringLiteral("HINBAN"), f.hinban);
    if (!f.row.isEmpty())
        w += equal(QStringLiteral("ROW"), f.row);
    if (!f.seisanTuki.isEmpty())
        w += equal(QStringLiteral("SEISAN_TUKI"), f.seisanTuki);
    if (!f.carCd.isEmpty())
        w += equal(QStringLiteral("CAR_CD"), f.carCd);
    return w;
}

QString ConfirmedOrderQuery::orderPart()
{
    return QStringLiteral("Order By IMP_DATE, ") + controlNumberOrder(QStringLiteral("KNR_NO")) +
           QStringLiteral(", IMP_LN ");
}

QString ConfirmedOrderQuery::sql(const ConfirmedOrderFilters &filters)
{
    return selectList() + fromPart() + wherePart(filters) + orderPart();
}
