// The tables of the run history and the audit trail. An installation created before them
// keeps working without them: the desk then says so instead of failing the work it records.
#pragma once

#include <QString>
#include <QStringList>

class Db;

namespace HistoryTables {

QStringList names();
// "実行履歴テーブルがありません。ostera upgrade-db を実行してください。"
QString missingText();
// true when every history table exists. Throws DbError.
bool present(Db &db);

} // namespace HistoryTables
