#include "MigrationRun.h"

#include "CarriedTables.h"
#include "ColumnConversion.h"
#include "Db.h"
#include "KeyRegister.h"
#include "MigrationSource.h"
#include "Progress.h"
#include "RunLock.h"
#include "Schema.h"
#include "SqlDialect.h"

#include <QVariantList>

namespace {

constexpr int kProgressEvery = 1024;

QString key3(const QString &a, const QString &b, const QString &c)
{
    return a + QLatin1Char('|') + b + QLatin1Char('|') + c;
}

QString monthText(const QString &nen, const QString &tuki)
{
    return nen + QStringLiteral("年") + tuki + QStringLiteral("月");
}

QString rowText(const QString &table, qint64 line)
{
    return QStringLiteral("%1 の %2 行目").arg(table).arg(line);
}

} // namespace

MigrationRun::MigrationRun(Db &db, Progress &progress) : m_db(db), m_progress(progress) {}

MigrationRun::~MigrationRun() = default;

std::optional<std::pair<QString, QString>> MigrationRun::monthOfLine(const QString &impDate)
{
    if (impDate.size() != 8)
        return std::nullopt;
    for (QChar c : impDate)
        if (!c.isDigit())
            return std::nullopt;
    const int month = impDate.mid(4, 2).toInt();
    if (month < 1 || month > 12)
        return std::nullopt;
    return std::pair{impDate.left(4), impDate.mid(4, 2)};
}

int MigrationRun::numberOf(const QString &knrNo, const QString &fcRg)
{
    const QString prefix = fcRg + QLatin1Char('-');
    if (!knrNo.startsWith(prefix))
        return 0;
    const QString digits = knrNo.mid(prefix.size());
    if (digits.isEmpty() || digits.size() > 9)
        return 0;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    return digits.toInt();
}

QString MigrationRun::targetProblem()
{
    for (const QString &table : Schema::tableNames()) {
        if (!m_db.tableExists(table))
            return QStringLiteral(
                       "移行先に表 %1 がありません。init-db で作成してから移行してください。")
                .arg(table);
    }
    for (const QString &table : Schema::tableNames()) {
        // The names come from the desk's own schema.
        if (m_db.exists(QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" LIMIT 1")))
            return QStringLiteral("移行先のデータベースが空ではありません（%1 に行があります）。"
                                  "init-db で作ったばかりのインストールに移行してください。")
                .arg(table);
    }
    return {};
}

// A row the database refuses (a key the checks will name, once the table is read) stops the
// writing; the reading goes on for the report.
void MigrationRun::write(const std::function<void()> &step)
{
    try {
        step();
    } catch (const DbError &e) {
        if (m_writeError.isEmpty())
            m_writeError = e.describe();
        stopWriting();
    }
}

void MigrationRun::stopWriting()
{
    // Dropping the loader abandons its rows; the transaction is rolled back at the end.
    m_bulk.reset();
    m_writing = false;
}

MigrationReport MigrationRun::run(MigrationSource &source, bool dryRun)
{
    m_report = MigrationReport();
    m_report.source = source.describe();
    for (const QString &ignored : source.ignored())
        m_report.ignored << ignored;
    ProgressScope scope(m_progress);

    std::unique_ptr<RunLock> imports;
    std::unique_ptr<RunLock> conversions;
    std::unique_ptr<Transaction> tx;
    try {
        if (!dryRun) {
            // No import or conversion of another workstation meanwhile.
            imports = std::make_unique<RunLock>(m_db, RunLock::Kind::Import);
            imports->acquire(m_progress);
            conversions = std::make_unique<RunLock>(m_db, RunLock::Kind::Conversion);
            conversions->acquire(m_progress);
            tx = std::make_unique<Transaction>(m_db);
        }
        const QString problem = targetProblem();
        if (!problem.isEmpty()) {
            m_report.refuse(problem);
            return m_report;
        }
        // Everything the run asks of the database is asked before the first row is written: a
        // PostgreSQL transaction whose load failed answers nothing more.
        MasterFiles columns(m_db);
        for (const QString &table : CarriedTables::all())
            m_deskColumns.insert(table, columns.columns(table));
        m_writing = !dryRun;
        for (const QString &table : CarriedTables::all()) {
            if (table == QLatin1String("TBL_ORDER"))
                checkOpenMonths();
            migrateTable(source, table);
            if (table == QLatin1String("TBL_ORDER"))
                refuseUnregisteredDays();
        }
        loadCounters();
        if (!m_writeError.isEmpty() && !m_report.refusedAny())
            m_report.refuse(QStringLiteral("データベースのエラー: ") + m_writeError);
        if (m_report.refusedAny()) {
            stopWriting();
            tx.reset();
            m_report.outcome = MigrationReport::Outcome::Refused;
            return m_report;
        }
        if (dryRun) {
            m_report.outcome = MigrationReport::Outcome::Checked;
            return m_report;
        }
        tx->commit();
        tx.reset();
        m_report.outcome = MigrationReport::Outcome::Migrated;
    } catch (const DbError &e) {
        stopWriting();
        tx.reset();
        m_report.refuse(QStringLiteral("データベースのエラー: ") + e.describe());
        m_report.outcome = MigrationReport::Outcome::Refused;
        return m_report;
    }
    // A million new rows: the planner learns of them now rather than at the next autovacuum.
    try {
        m_db.dialect().refreshStatistics(m_db, QString());
    } catch (const DbError &) {
    }
    return m_report;
}

void MigrationRun::migrateTable(MigrationSource &source, const QString &table)
{
    m_report.tables.append(MigrationReport::Table{});
    MigrationReport::Table &entry = m_report.tables.last();
    entry.name = table;
    const QList<MasterFiles::Column> deskColumns = m_deskColumns.value(table);
    QStringList deskNames;
    for (const MasterFiles::Column &c : deskColumns)
        deskNames << c.name;

    QString problem;
    std::unique_ptr<SourceTable> reader = source.open(table, deskNames, &problem);
    if (!reader) {
        if (!problem.isEmpty()) {
            entry.present = true;
            m_report.refuse(table + QStringLiteral(": ") + problem);
            stopWriting();
        }
        return;
    }
    entry.present = true;
    entry.format = reader->format();
    entry.columnsFrom = reader->columnsFrom();

    // The source's columns that the desk has, in the source's order; the others are skipped.
    const QStringList sourceColumns = reader->columns();
    QList<ColumnConversion> conversions;
    QList<int> fieldOf;
    QStringList written;
    for (int i = 0; i < sourceColumns.size(); ++i) {
        const QString &name = sourceColumns.at(i);
        if (name.isEmpty())
            continue;
        if (written.contains(name)) {
            m_report.refuse(QStringLiteral("%1: 列 %2 が二度あります。").arg(table, name));
            stopWriting();
            return;
        }
        const auto it = std::find_if(deskColumns.cbegin(), deskColumns.cend(),
                                     [&](const MasterFiles::Column &c) { return c.name == name; });
        if (it == deskColumns.cend()) {
            entry.skippedColumns << name;
            continue;
        }
        conversions << ColumnConversion(table, *it);
        fieldOf << i;
        written << name;
    }
    QList<int> keyPositions;
    for (const MasterFiles::Column &c : deskColumns) {
        if (!c.key)
            continue;
        if (!written.contains(c.name)) {
            m_report.refuse(QStringLiteral("%1: キーの列 %2 がありません。").arg(table, c.name));
            stopWriting();
            return;
        }
        keyPositions << int(written.indexOf(c.name));
    }
    auto at = [&](const char *column) { return int(written.indexOf(QLatin1String(column))); };
    const bool isOrder = table == QLatin1String("TBL_ORDER");
    const bool isCounters = table == QLatin1String("SYS_KNR_NO");
    const int impDateAt = at("IMP_DATE");
    const int knrAt = at("KNR_NO");
    const int fcAt = at("FC_RG");
    const int nenAt = at(isCounters ? "ORD_NEN" : "NEN");
    const int tukiAt = at(isCounters ? "ORD_TUKI" : "TUKI");
    const int flagAt = at("KAKUTEI_FLG");

    // The counters are written last, once the lines have shown how far each one went.
    if (m_writing && !isCounters)
        m_bulk = std::make_unique<BulkInserter>(m_db, table, written);

    const qint64 total = reader->progressTotal();
    const int scale = total > 1000000 ? 1024 : 1;
    m_progress.start(table + QStringLiteral(" 移行..."), int(total / scale));

    KeyRegister keys;
    SourceRow row;
    QVariantList values;
    QStringList keyValues;
    while (reader->next(row)) {
        ++entry.read;
        if (entry.read % kProgressEvery == 0)
            m_progress.step(int(reader->progressDone() / scale));
        auto refuseRow = [&](const QString &why) {
            ++entry.refused;
            m_report.refuse(rowText(table, row.line) + QStringLiteral(": ") + why);
            stopWriting();
        };
        if (!row.fault.isEmpty()) {
            refuseRow(row.fault);
            continue;
        }
        if (row.fields.size() != sourceColumns.size()) {
            refuseRow(QStringLiteral("列の数が合いません（%1 列のはずが %2 列）。")
                          .arg(sourceColumns.size())
                          .arg(row.fields.size()));
            continue;
        }
        values.clear();
        bool ok = true;
        for (int i = 0; i < conversions.size(); ++i) {
            QString reason;
            const auto value =
                conversions.at(i).convert(row.fields.at(fieldOf.at(i)), row.fromCp932, &reason);
            if (!value) {
                refuseRow(QStringLiteral("列 %1: %2").arg(conversions.at(i).column().name, reason));
                ok = false;
                break;
            }
            values << *value;
        }
        if (!ok)
            continue;
        if (isOrder && !m_days.contains(values.at(impDateAt).toString())) {
            Day &d = m_unregistered[values.at(impDateAt).toString()];
            if (d.lines++ == 0)
                d.firstLine = row.line;
            ++entry.refused;
            stopWriting();
            continue;
        }
        keyValues.clear();
        for (int position : keyPositions)
            keyValues << values.at(position).toString();
        keys.add(keyValues, row.line);

        if (isOrder) {
            const QString day = values.at(impDateAt).toString();
            if (knrAt >= 0 && fcAt >= 0) {
                const QString fcRg = values.at(fcAt).toString();
                const int n = numberOf(values.at(knrAt).toString(), fcRg);
                const auto month = monthOfLine(day);
                if (n > 0 && month) {
                    int &used = m_usedNumbers[key3(month->first, month->second, fcRg)];
                    used = qMax(used, n);
                }
            }
        } else if (table == QLatin1String("SYS_IMPDATE")) {
            m_days.insert(values.at(impDateAt).toString());
        } else if (table == QLatin1String("SYS_TUKI")) {
            const QString nen = values.at(nenAt).toString();
            const QString tuki = values.at(tukiAt).toString();
            m_months.insert(nen + QLatin1Char('|') + tuki);
            if (flagAt >= 0 && values.at(flagAt).toString() == QLatin1String("0"))
                m_openMonths
                    << QStringLiteral("%1（%2 行目）").arg(monthText(nen, tuki)).arg(row.line);
        } else if (isCounters) {
            m_counters << Counter{values.at(nenAt).toString(), values.at(tukiAt).toString(),
                                  values.at(fcAt).toString(),
                                  knrAt >= 0 ? values.at(knrAt).toLongLong() : 0};
        }
        if (m_bulk)
            write([&] { m_bulk->add(values); });
    }
    if (!reader->error().isEmpty()) {
        m_report.refuse(QStringLiteral("%1: 読み込めません（%2）。").arg(table, reader->error()));
        stopWriting();
    }
    for (const KeyRegister::Duplicate &d : keys.takeDuplicates()) {
        ++entry.refused;
        m_report.refuse(rowText(table, d.line) +
                        QStringLiteral(": キーが重複しています（%1 行目と同じ %2）。")
                            .arg(d.firstLine)
                            .arg(d.key));
        stopWriting();
    }
    entry.loaded = entry.read - entry.refused;
    if (m_bulk) {
        write([&] { m_bulk->finish(); });
        m_bulk.reset();
    }
    m_progress.step(int(total / scale));
}

void MigrationRun::checkOpenMonths()
{
    if (m_openMonths.size() <= 1)
        return;
    m_report.refuse(QStringLiteral("SYS_TUKI: 確定されていない月次業務が二つ以上あります（%1）。"
                                   "月次業務は一つだけ有効に出来ます。")
                        .arg(m_openMonths.join(QStringLiteral("、"))));
    stopWriting();
}

void MigrationRun::refuseUnregisteredDays()
{
    QStringList days = m_unregistered.keys();
    std::sort(days.begin(), days.end());
    for (const QString &day : days) {
        const Day &d = m_unregistered.value(day);
        m_report.refuse(
            rowText(QStringLiteral("TBL_ORDER"), d.firstLine) +
            (d.lines > 1 ? QStringLiteral("ほか %1 行").arg(d.lines - 1) : QString()) +
            QStringLiteral(": 処理日 %1 が SYS_IMPDATE に登録されていません。").arg(day));
    }
}

// Every counter at least the highest number its month and factory already used, so that the
// next import never hands out a number the lines have; a month of the register without a
// counter for a factory whose lines it numbered gets one.
void MigrationRun::loadCounters()
{
    QSet<QString> present;
    for (Counter &c : m_counters) {
        const QString key = key3(c.nen, c.tuki, c.fcRg);
        present.insert(key);
        const int used = m_usedNumbers.value(key);
        if (used > c.knrNo) {
            m_report.notes << QStringLiteral(
                                  "SYS_KNR_NO %1 %2: 管理No の番号を %3 から %4 に上げました"
                                  "（TBL_ORDER に %2-%5 まであります）。")
                                  .arg(monthText(c.nen, c.tuki), c.fcRg)
                                  .arg(c.knrNo)
                                  .arg(used)
                                  .arg(used, 3, 10, QLatin1Char('0'));
            c.knrNo = used;
        }
    }
    QStringList missing = m_usedNumbers.keys();
    std::sort(missing.begin(), missing.end());
    for (const QString &key : missing) {
        const QStringList parts = key.split(QLatin1Char('|'));
        if (present.contains(key) || !m_months.contains(parts[0] + QLatin1Char('|') + parts[1]))
            continue;
        const int used = m_usedNumbers.value(key);
        m_counters << Counter{parts[0], parts[1], parts[2], used};
        m_report.notes << QStringLiteral("SYS_KNR_NO %1 %2: 管理No の番号がないため %3 で作りました"
                                         "（TBL_ORDER に %2-%4 まであります）。")
                              .arg(monthText(parts[0], parts[1]), parts[2])
                              .arg(used)
                              .arg(used, 3, 10, QLatin1Char('0'));
    }
    if (!m_writing)
        return;
    BulkInserter bulk(m_db, QStringLiteral("SYS_KNR_NO"),
                      {QStringLiteral("ORD_NEN"), QStringLiteral("ORD_TUKI"),
                       QStringLiteral("FC_RG"), QStringLiteral("KNR_NO")});
    for (const Counter &c : m_counters)
        bulk.add({c.nen, c.tuki, c.fcRg, c.knrNo});
    bulk.finish();
    for (MigrationReport::Table &t : m_report.tables)
        if (t.name == QLatin1String("SYS_KNR_NO"))
            t.loaded = m_counters.size();
}
