#include "SizeRows.h"

#include "Db.h"
#include "MasterTable.h"
#include "RunLock.h"

namespace {
QVariantMap keyParams(const SizeRows::Pair &pair, const QString &prefix = QString())
{
    return {{prefix + QStringLiteral("row"), pair.row},
            {prefix + QStringLiteral("kbn"), pair.sizeKbn}};
}
} // namespace

QString SizeRows::blankKeyMessage()
{
    return QStringLiteral("主キーに空文字は使えません。");
}

bool SizeRows::exists(const Pair &pair)
{
    return m_db.exists(
        QStringLiteral("Select ROW From MST_TARVOLIN_SIZE Where ROW = :row And SIZE_KBN = :kbn"),
        keyParams(pair));
}

QString SizeRows::save(const std::optional<Pair> &stored, const Pair &pair, const QString &user,
                       const QString &stamp)
{
    if (MasterTable::trimBlanks(pair.row).isEmpty() ||
        MasterTable::trimBlanks(pair.sizeKbn).isEmpty())
        return blankKeyMessage();
    RunLock conversion(m_db, RunLock::Kind::Conversion);
    conversion.acquire(m_progress);
    Transaction transaction(m_db);
    if (!(stored && *stored == pair) && exists(pair))
        return MasterTable::alreadyRegisteredMessage();
    int updated = 0;
    if (stored) {
        QVariantMap params = keyParams(pair);
        params.insert(keyParams(*stored, QStringLiteral("old_")));
        params.insert(QStringLiteral("user"), user);
        params.insert(QStringLiteral("stamp"), stamp);
        updated = m_db.exec(QStringLiteral("Update MST_TARVOLIN_SIZE Set ROW = :row, "
                                           "SIZE_KBN = :kbn, USER_NM = :user, TIME_STAMP = :stamp "
                                           "Where ROW = :old_row And SIZE_KBN = :old_kbn"),
                            params);
    }
    // A pair another workstation removed meanwhile is written again as the operator sees it.
    if (updated == 0)
        insert(pair, user, stamp);
    transaction.commit();
    return {};
}

void SizeRows::insert(const Pair &pair, const QString &user, const QString &stamp)
{
    QVariantMap params = keyParams(pair);
    params.insert(QStringLiteral("user"), user);
    params.insert(QStringLiteral("stamp"), stamp);
    m_db.exec(QStringLiteral("Insert Into MST_TARVOLIN_SIZE(ROW, SIZE_KBN, USER_NM, TIME_STAMP) "
                             "Values(:row, :kbn, :user, :stamp)"),
              params);
}

void SizeRows::remove(const Pair &pair)
{
    RunLock conversion(m_db, RunLock::Kind::Conversion);
    conversion.acquire(m_progress);
    m_db.exec(QStringLiteral("Delete From MST_TARVOLIN_SIZE Where ROW = :row And SIZE_KBN = :kbn"),
              keyParams(pair));
}

QString SizeRows::listStatement()
{
    return QStringLiteral("Select ROW As \"ROW\", SIZE_KBN As \"サイズ区分\",USER_NM As "
                          "\"担当者\",TIME_STAMP As \"更新日\" From MST_TARVOLIN_SIZE "
                          "Order By ROW,SIZE_KBN ");
}
