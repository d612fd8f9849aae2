#include "DemoData.h"

#include "Db.h"
#include "MasterFiles.h"

namespace DemoData {

QString mastersDir()
{
    return QStringLiteral(":/ostera/demo");
}

void loadMasters(Db &db)
{
    MasterFiles files(db);
    const MasterFiles::Result result = files.load(mastersDir());
    if (!result.ok)
        throw DbError(QStringLiteral("デモデータを読み込めません: ") + result.message,
                      QStringLiteral("-1"));
}

bool openBusinessMonth(Db &db, const QDate &today)
{
    Transaction tx(db);
    if (db.exists(QStringLiteral("SELECT 1 FROM SYS_TUKI WHERE KAKUTEI_FLG = '0'")))
        return false;
    db.exec(QStringLiteral("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES(:nen, :tuki, '0') "
                           "ON CONFLICT (NEN, TUKI) DO UPDATE SET KAKUTEI_FLG = '0'"),
            {{QStringLiteral("nen"), QString::number(today.year())},
             {QStringLiteral("tuki"),
              QStringLiteral("%1").arg(today.month(), 2, 10, QLatin1Char('0'))}});
    tx.commit();
    return true;
}

} // namespace DemoData
