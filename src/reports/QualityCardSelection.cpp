#include "QualityCardSelection.h"

#include "Db.h"
#include "Dialogs.h"
#include "Utilities.h"

namespace {
const QString kTitle = QStringLiteral("印刷");
}

QList<QSqlRecord> QualityCardSelection::askAndSelect(Db &db, Dialogs &dialogs)
{
    const std::optional<QString> answer =
        dialogs.input(QStringLiteral("日付を指定できます。"), kTitle);
    return selectByDate(db, dialogs, answer.value_or(QString()));
}

QList<QSqlRecord> QualityCardSelection::selectByDate(Db &db, Dialogs &dialogs, const QString &date)
{
    QList<QSqlRecord> rows;
    if (!date.isEmpty()) {
        // Stamps are saved as yyyy/mm/dd; a date typed as 2004/5/6 means the same day.
        const QString day = normalizeDateText(date);
        rows =
            db.rows(QStringLiteral("Select * From MST_QUL Where substr(TIME_STAMP, 1, 10) = :day "
                                   "Order By QUL_KEY "),
                    {{QStringLiteral("day"), day}});
    } else {
        dialogs.message(QStringLiteral("全件印刷します。"), Icon::None, kTitle);
        rows = db.rows(QStringLiteral("Select * From MST_QUL Order By QUL_KEY "));
    }
    if (rows.isEmpty())
        dialogs.message(QStringLiteral("レコードがありません。"), Icon::None, kTitle);
    return rows;
}
