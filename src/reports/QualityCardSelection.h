// Which quality master records the quality cards print: those last saved on a day the
// operator names, or all of them. The quality master screen's print key asks through
// askAndSelect; the batch command passes its --date to selectByDate.
#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>

class Db;
class Dialogs;

class QualityCardSelection {
public:
    // Asks "日付を指定できます。" (title "印刷"); an empty answer or Cancel selects every record.
    static QList<QSqlRecord> askAndSelect(Db &db, Dialogs &dialogs);
    // date "yyyy/mm/dd" (or yyyy/m/d) selects the records saved that day; empty selects all after
    // "全件印刷します。". No record: "レコードがありません。" and an empty list.
    static QList<QSqlRecord> selectByDate(Db &db, Dialogs &dialogs, const QString &date);
};
