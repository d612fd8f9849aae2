#include "OpenMonth.h"

#include "Db.h"

#include <QSqlRecord>

std::optional<OpenMonth> OpenMonth::read(Db &db)
{
    const QList<QSqlRecord> rows =
        db.rows(QStringLiteral("SELECT NEN, TUKI FROM SYS_TUKI WHERE KAKUTEI_FLG = '0' "
                               "ORDER BY NEN, TUKI"));
    if (rows.isEmpty())
        return std::nullopt;
    return OpenMonth{rows.first().value(0).toString(), rows.first().value(1).toString()};
}

QString OpenMonth::notSetMessage()
{
    return QStringLiteral("月次業務設定がされていません。");
}
