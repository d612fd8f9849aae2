#include "AuditTrail.h"

#include "Db.h"
#include "HistoryWrite.h"
#include "SqlDialect.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlRecord>

const QString AuditTrail::kEdit = QStringLiteral("修正");
const QString AuditTrail::kBulkUpdate = QStringLiteral("一括更新");
const QString AuditTrail::kDelete = QStringLiteral("削除");
const QString AuditTrail::kConversion = QStringLiteral("変換");
const QString AuditTrail::kCancel = QStringLiteral("変換取消");
const QString AuditTrail::kConfirm = QStringLiteral("確定");
const QString AuditTrail::kAllDelete = QStringLiteral("全削除");
const QString AuditTrail::kEnrichment = QStringLiteral("マスタ参照");
const QString AuditTrail::kCheck = QStringLiteral("エラーチェック");
const QString AuditTrail::kDeletedLine = QStringLiteral("*");

namespace {

const QString kInsert = QStringLiteral(
    "INSERT INTO TBL_ORDER_LOG (LOG_NO, IMP_DATE, IMP_LN, COL_NM, OLD_VALUE, NEW_VALUE, "
    "CHANGE_KBN, USER_NM, COMPUTER_NM, TIME_STAMP) ");

// Column names come from the desk's own code; anything else is refused rather than pasted
// into a statement.
const QString &plainName(const QString &column)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!name.match(column).hasMatch())
        throw DbError(QStringLiteral("列名が正しくありません: ") + column, QStringLiteral("1"));
    return column;
}

QVariant valueOf(const QVariantMap &values, const QString &column)
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        if (it.key().compare(column, Qt::CaseInsensitive) == 0)
            return it.value();
    return {};
}

// Entry numbers are drawn as the greatest so far plus the row's place. Two workstations must
// not draw at once: on PostgreSQL the draw holds a lock until the transaction ends (SQLite
// writes one transaction at a time anyway).
void lockEntryNumbers(Db &db)
{
    db.dialect().lockUntilCommit(db, QStringLiteral("/trail"), QStringLiteral("entries"));
}

// What a run change did on each of its lines besides its stamp column.
struct RunFlag {
    const QString &kind;
    const char *column;
    const char *from;
    const char *to;
};

const RunFlag *runFlagOf(const QString &kind)
{
    static const RunFlag flags[] = {{AuditTrail::kConversion, "FLG3", "0", "1"},
                                    {AuditTrail::kCancel, "FLG3", "1", "0"},
                                    {AuditTrail::kConfirm, "FLG4", "0", "1"}};
    for (const RunFlag &flag : flags)
        if (flag.kind == kind)
            return &flag;
    return nullptr;
}

} // namespace

void AuditTrail::insertEntries(const QString &select, const QString &from,
                               const QVariantMap &params, const QString &column)
{
    m_write.attempt([&] {
        Db &db = m_write.db();
        lockEntryNumbers(db);
        QVariantMap all = params;
        all.insert(QStringLiteral("h_col"), column);
        all.insert(QStringLiteral("h_kind"), m_kind);
        all.insert(QStringLiteral("h_user"), HistoryWrite::text(m_write.who().user));
        all.insert(QStringLiteral("h_pc"), HistoryWrite::text(m_write.who().computer));
        all.insert(QStringLiteral("h_at"), m_write.at());
        // One statement gives each line at most one entry, so the entries need no order of
        // their own among themselves (sorting a day of lines would only cost time).
        db.exec(
            kInsert +
                QStringLiteral("SELECT (SELECT COALESCE(MAX(LOG_NO), 0) FROM TBL_ORDER_LOG) + "
                               "ROW_NUMBER() OVER (), E.IMP_DATE, "
                               "E.IMP_LN, CAST(:h_col AS TEXT), E.OLD_VALUE, E.NEW_VALUE, "
                               "CAST(:h_kind AS TEXT), CAST(:h_user AS TEXT), CAST(:h_pc AS TEXT), "
                               "CAST(:h_at AS TEXT) FROM (") +
                select + QLatin1Char(' ') + from + QStringLiteral(") E"),
            all);
    });
}

void AuditTrail::beforeChange(const QString &condition, const QVariantMap &params,
                              const QString &column, const QString &newValue)
{
    const QString c = plainName(column);
    QVariantMap all = params;
    all.insert(QStringLiteral("h_new"), HistoryWrite::text(newValue));
    all.insert(QStringLiteral("h_new2"), HistoryWrite::text(newValue));
    // The condition is the order screens' own text, written against TBL_ORDER: it is applied
    // inside, and the unchanged lines are left out outside, whatever its Or's.
    insertEntries(QStringLiteral("SELECT T.IMP_DATE, T.IMP_LN, CAST(T.") + c +
                      QStringLiteral(" AS TEXT) AS OLD_VALUE, CAST(:h_new AS TEXT) AS NEW_VALUE"),
                  QStringLiteral("FROM (SELECT * FROM TBL_ORDER ") + condition +
                      QStringLiteral(") T WHERE NOT CAST(T.") + c +
                      QStringLiteral(" AS TEXT) = CAST(:h_new2 AS TEXT)"),
                  all, c);
}

void AuditTrail::beforeTakingValues(const QString &source, const QStringList &columns)
{
    const QString table = plainName(source);
    for (const QString &column : columns) {
        const QString c = plainName(column);
        insertEntries(QStringLiteral("SELECT S.IMP_DATE, S.IMP_LN, CAST(S.OLD_") + c +
                          QStringLiteral(" AS TEXT) AS OLD_VALUE, CAST(S.") + c +
                          QStringLiteral(" AS TEXT) AS NEW_VALUE"),
                      QStringLiteral("FROM ") + table + QStringLiteral(" S WHERE NOT S.") + c +
                          QStringLiteral(" = S.OLD_") + c,
                      {}, c);
    }
}

void AuditTrail::lineChanged(const QVariantMap &read, const QVariantMap &changes)
{
    const QString impDate = valueOf(read, QStringLiteral("IMP_DATE")).toString();
    const QVariant impLn = valueOf(read, QStringLiteral("IMP_LN"));
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        const QString before = valueOf(read, it.key()).toString();
        const QString after = it.value().toString();
        if (before == after)
            continue;
        insertEntries(QStringLiteral("SELECT CAST(:h_d AS TEXT) AS IMP_DATE, CAST(:h_ln AS "
                                     "INTEGER) AS IMP_LN, CAST(:h_old AS TEXT) AS OLD_VALUE, "
                                     "CAST(:h_new AS TEXT) AS NEW_VALUE"),
                      QString(),
                      {{QStringLiteral("h_d"), HistoryWrite::text(impDate)},
                       {QStringLiteral("h_ln"), impLn.toInt()},
                       {QStringLiteral("h_old"), HistoryWrite::text(before)},
                       {QStringLiteral("h_new"), HistoryWrite::text(after)}},
                      plainName(it.key()).toUpper());
    }
}

void AuditTrail::beforeDelete(const QVariantMap &read)
{
    const QString impDate = valueOf(read, QStringLiteral("IMP_DATE")).toString();
    const QVariant impLn = valueOf(read, QStringLiteral("IMP_LN"));
    const QVariantMap key{{QStringLiteral("h_d"), impDate}, {QStringLiteral("h_ln"), impLn}};
    QString line;
    const bool found = m_write.attempt([&] {
        const QList<QSqlRecord> rows = m_write.db().rows(
            QStringLiteral("SELECT * FROM TBL_ORDER WHERE IMP_DATE = :h_d AND IMP_LN = :h_ln"),
            key);
        if (rows.isEmpty())
            return;
        QVariantMap values;
        for (int i = 0; i < rows[0].count(); ++i)
            values.insert(rows[0].fieldName(i).toUpper(), rows[0].value(i));
        line = compactLine(values);
    });
    if (!found || line.isEmpty())
        return;
    insertEntries(QStringLiteral("SELECT CAST(:h_d AS TEXT) AS IMP_DATE, CAST(:h_ln AS INTEGER) "
                                 "AS IMP_LN, CAST(:h_old AS TEXT) AS OLD_VALUE, '' AS NEW_VALUE"),
                  QString(),
                  {{QStringLiteral("h_d"), impDate},
                   {QStringLiteral("h_ln"), impLn.toInt()},
                   {QStringLiteral("h_old"), line}},
                  kDeletedLine);
}

void AuditTrail::beforeDeleteAll()
{
    insertEntries(QStringLiteral("SELECT IMP_DATE, IMP_LN, CAST(KNR_NO AS TEXT) AS OLD_VALUE, "
                                 "'' AS NEW_VALUE"),
                  QStringLiteral("FROM TBL_ORDER"), {}, kDeletedLine);
}

void AuditTrail::runChange(const QString &impDate, const QString &column, const QString &oldValue,
                           const QString &newValue, int lines)
{
    if (lines <= 0)
        return;
    const QString c = plainName(column);
    m_write.attempt([&] {
        Db &db = m_write.db();
        lockEntryNumbers(db);
        db.exec(QStringLiteral("INSERT INTO TBL_ORDER_LOG (LOG_NO, IMP_DATE, IMP_LN, COL_NM, "
                               "OLD_VALUE, NEW_VALUE, CHANGE_KBN, USER_NM, COMPUTER_NM, "
                               "TIME_STAMP, LINE_CNT) SELECT COALESCE(MAX(LOG_NO), 0) + 1, "
                               "CAST(:d AS TEXT), 0, CAST(:c AS TEXT), CAST(:o AS TEXT), "
                               "CAST(:n AS TEXT), CAST(:k AS TEXT), CAST(:u AS TEXT), "
                               "CAST(:pc AS TEXT), CAST(:at AS TEXT), :cnt FROM TBL_ORDER_LOG"),
                {{QStringLiteral("d"), HistoryWrite::text(impDate)},
                 {QStringLiteral("c"), c},
                 {QStringLiteral("o"), HistoryWrite::text(oldValue)},
                 {QStringLiteral("n"), HistoryWrite::text(newValue)},
                 {QStringLiteral("k"), m_kind},
                 {QStringLiteral("u"), HistoryWrite::text(m_write.who().user)},
                 {QStringLiteral("pc"), HistoryWrite::text(m_write.who().computer)},
                 {QStringLiteral("at"), m_write.at()},
                 {QStringLiteral("cnt"), lines}});
    });
}

QString AuditTrail::compactLine(const QVariantMap &line)
{
    QJsonObject object;
    for (auto it = line.constBegin(); it != line.constEnd(); ++it) {
        const QString text = it.value().toString();
        if (!text.isEmpty())
            object.insert(it.key(), text);
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QList<AuditEntry> AuditTrail::entries(Db &db, const QString &impDate, const QVariant &impLn)
{
    const int ln = impLn.toInt();
    // The line's own entries, and the run changes of its day that took it: a conversion or
    // cancel whose run kept the line, a confirmation whose stamp the line holds.
    const QString columns = QStringLiteral(
        "LOG_NO, IMP_LN, TIME_STAMP, USER_NM, COMPUTER_NM, CHANGE_KBN, COL_NM, OLD_VALUE, "
        "NEW_VALUE FROM TBL_ORDER_LOG");
    const QString sql =
        QStringLiteral("SELECT ") + columns +
        QStringLiteral(" WHERE IMP_DATE = :d AND IMP_LN = :ln UNION ALL SELECT ") + columns +
        QStringLiteral(" L WHERE L.IMP_DATE = :d2 AND L.IMP_LN = 0 AND NOT :ln2 = 0 AND ("
                       "(L.COL_NM = 'B1' AND EXISTS (SELECT 1 FROM TBL_RUN_RPT R WHERE "
                       "R.IMP_DATE = L.IMP_DATE AND R.B1 = CASE WHEN L.CHANGE_KBN = :cancel THEN "
                       "L.OLD_VALUE ELSE L.NEW_VALUE END AND R.IMP_LN = :ln3)) OR "
                       "(L.COL_NM = 'B2' AND EXISTS (SELECT 1 FROM TBL_ORDER O WHERE "
                       "O.IMP_DATE = L.IMP_DATE AND O.IMP_LN = :ln4 AND O.B2 = L.NEW_VALUE))) "
                       "ORDER BY 1");
    QList<AuditEntry> result;
    for (const QSqlRecord &r : db.rows(sql, {{QStringLiteral("d"), impDate},
                                             {QStringLiteral("ln"), ln},
                                             {QStringLiteral("d2"), impDate},
                                             {QStringLiteral("ln2"), ln},
                                             {QStringLiteral("cancel"), kCancel},
                                             {QStringLiteral("ln3"), ln},
                                             {QStringLiteral("ln4"), ln}})) {
        AuditEntry entry{r.value(2).toString(), r.value(3).toString(), r.value(4).toString(),
                         r.value(5).toString(), r.value(6).toString(), r.value(7).toString(),
                         r.value(8).toString()};
        const RunFlag *flag = r.value(1).toInt() == 0 && ln != 0 ? runFlagOf(entry.kind) : nullptr;
        if (flag) {
            AuditEntry flagEntry = entry;
            flagEntry.column = QLatin1String(flag->column);
            flagEntry.oldValue = QLatin1String(flag->from);
            flagEntry.newValue = QLatin1String(flag->to);
            result.append(flagEntry);
        }
        result.append(entry);
    }
    return result;
}

QString AuditTrail::caption(const QString &column)
{
    static const QHash<QString, QString> captions = {
        {QStringLiteral("PRINTER"), QStringLiteral("印字機種")},
        {QStringLiteral("DATA_FLG"), QStringLiteral("熱転写")},
        {QStringLiteral("CAR_CD"), QStringLiteral("ネーム種")},
        {QStringLiteral("SU"), QStringLiteral("数量")},
        {QStringLiteral("LOT_SU"), QStringLiteral("ロット数")},
        {QStringLiteral("LOT_AVG"), QStringLiteral("ロット平均数")},
        {QStringLiteral("SPARE_SU"), QStringLiteral("予備数")},
        {QStringLiteral("YARE_SU"), QStringLiteral("ヤレ数")},
        {QStringLiteral("KNR_NO"), QStringLiteral("管理No")},
        {QStringLiteral("LOT_NO"), QStringLiteral("ロットNo")},
        {QStringLiteral("ORD_DATE"), QStringLiteral("発注日")},
        {QStringLiteral("SET_DATE"), QStringLiteral("セット日")},
        {QStringLiteral("FC_RG"), QStringLiteral("工場略号")},
        {QStringLiteral("FC_CD"), QStringLiteral("工場コード")},
        {QStringLiteral("FC_NM"), QStringLiteral("工場名")},
        {QStringLiteral("FC_RNM"), QStringLiteral("略名")},
        {QStringLiteral("HINBAN"), QStringLiteral("品番")},
        {QStringLiteral("SEISAN_NEN"), QStringLiteral("年")},
        {QStringLiteral("SEISAN_TUKI"), QStringLiteral("月")},
        {QStringLiteral("GENSAN1"), QStringLiteral("原産国1")},
        {QStringLiteral("GENSAN2"), QStringLiteral("原産国2")},
        {QStringLiteral("SEIZOUMOTO"), QStringLiteral("製造元")},
        {QStringLiteral("QUL_KEY"), QStringLiteral("品質キー")},
        {QStringLiteral("SIZE_KEY"), QStringLiteral("サイズキー")},
        {QStringLiteral("FLG1"), QStringLiteral("エラー")},
        {QStringLiteral("FLG3"), QStringLiteral("変換済")},
        {QStringLiteral("FLG4"), QStringLiteral("確定")},
        {QStringLiteral("FLG5"), QStringLiteral("特定変換")},
        {QStringLiteral("B1"), QStringLiteral("変換日時")},
        {QStringLiteral("B2"), QStringLiteral("確定日時")},
        {QStringLiteral("*"), QStringLiteral("行削除")},
    };
    return captions.value(column.toUpper(), column);
}
