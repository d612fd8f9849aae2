#include "ImportCheck.h"

#include "Db.h"
#include "Dialogs.h"

#include <QFileInfo>

bool isDayImported(Db &db, const QString &impDate)
{
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    return db.exists(QStringLiteral("SELECT 1 FROM SYS_IMPDATE WHERE IMP_DATE = :d"), day) ||
           db.exists(QStringLiteral("SELECT 1 FROM TBL_ORDER WHERE IMP_DATE = :d"), day);
}

QString alreadyImportedMessage(const QString &impDate)
{
    return QStringLiteral("指定された日付(") + impDate +
           QStringLiteral(
               ")は既に読み込まれています。\r\n違う日付を指定するか、明日行ってください。");
}

Outcome checkImport(Db &db, Dialogs &dialogs, const QString &path, const QString &impDate)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists() || file.isDir()) {
        dialogs.message(QStringLiteral("ファイルが見つかりません。"), Icon::Error);
        return Outcome::Refused;
    }
    // Reading the database as an order file would close a descriptor of it, and with that the
    // desk's locks on it would go.
    if (db.isDatabaseFile(path)) {
        dialogs.message(QStringLiteral("ファイルを開けません: ") + path, Icon::Error);
        return Outcome::Refused;
    }
    try {
        if (isDayImported(db, impDate)) {
            dialogs.message(alreadyImportedMessage(impDate), Icon::Error);
            return Outcome::Refused;
        }
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}
