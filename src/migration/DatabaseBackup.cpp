#include "DatabaseBackup.h"

#include "Db.h"
#include "Schema.h"
#include "SqlDialect.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>

#include <sqlite3.h>

namespace {

DatabaseBackup::Result failure(const QString &message)
{
    return {false, message};
}

// A name beside the target for the copy while it is written; it takes the target's name only
// when complete, so that a failed backup never leaves a file that looks like one.
QString partName(const QString &file)
{
    return file + QStringLiteral(".part%1").arg(QCoreApplication::applicationPid());
}

QString sqliteError(sqlite3 *handle)
{
    return QString::fromUtf8(sqlite3_errmsg(handle));
}

QString runIntegrityCheck(sqlite3 *handle)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &stmt, nullptr) != SQLITE_OK)
        return sqliteError(handle);
    QStringList findings;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        findings << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return findings.join(QLatin1Char('\n'));
}

bool execSqlite(sqlite3 *handle, const char *sql)
{
    return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Copies every page of `from` into `to` in one step, so the copy is of one moment; a writer
// of another workstation makes the engine busy for a moment at most.
bool copyDatabase(sqlite3 *from, sqlite3 *to, QString *error)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        *error = sqliteError(to);
        return false;
    }
    int rc;
    for (int attempt = 0;; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || attempt >= 600)
            break;
        QThread::msleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    return true;
}

bool startsWith(const QString &file, const QByteArray &magic)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(magic.size()) == magic;
}

const QByteArray kSqliteMagic("SQLite format 3\0", 16);
const QByteArray kDumpMagic("PGDMP");

} // namespace

QString DatabaseBackup::databasePath() const
{
    const ConnectionSettings &s = m_db.settings();
    QString path = s.server;
    if (QFileInfo(path).isRelative() && !s.baseDir.isEmpty())
        path = QDir(s.baseDir).filePath(path);
    return path;
}

QString DatabaseBackup::schema() const
{
    return m_db.settings().schema.isEmpty() ? QStringLiteral("public") : m_db.settings().schema;
}

QStringList DatabaseBackup::postgresArgs() const
{
    const ConnectionSettings &s = m_db.settings();
    QString host = s.server.trimmed();
    QString port = QStringLiteral("5432");
    const int colon = int(host.lastIndexOf(QLatin1Char(':')));
    if (colon > 0) {
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    return {QStringLiteral("--host=") + host, QStringLiteral("--port=") + port,
            QStringLiteral("--username=") + s.user, QStringLiteral("--no-password")};
}

QString DatabaseBackup::integrityCheck(const QString &sqliteFile)
{
    sqlite3 *handle = nullptr;
    if (sqlite3_open_v2(sqliteFile.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        const QString error = handle ? sqliteError(handle) : QStringLiteral("open");
        sqlite3_close(handle);
        return error;
    }
    const QString result = runIntegrityCheck(handle);
    sqlite3_close(handle);
    return result;
}

QString DatabaseBackup::nonEmptyTable()
{
    for (const QString &table : Schema::tableNames())
        if (m_db.tableExists(table) &&
            m_db.exists(QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" LIMIT 1")))
            return table;
    return {};
}

DatabaseBackup::Result DatabaseBackup::backup(const QString &file)
{
    if (QFileInfo::exists(file))
        return failure(QStringLiteral("ファイルが既にあります: ") + file);
    if (!QFileInfo(QFileInfo(file).absolutePath()).isDir())
        return failure(QStringLiteral("フォルダがありません: ") + QFileInfo(file).absolutePath());
    if (m_db.isSQLite())
        return backupSqlite(file);
    if (m_db.isPostgreSQL())
        return backupPostgres(file);
    return failure(QStringLiteral("データベースに接続されていません。"));
}

DatabaseBackup::Result DatabaseBackup::restore(const QString &file)
{
    if (!QFileInfo(file).isFile())
        return failure(QStringLiteral("ファイルがありません: ") + file);
    try {
        const QString table = nonEmptyTable();
        if (!table.isEmpty())
            return failure(
                QStringLiteral("復元先のデータベースが空ではありません（%1 に行があります）。"
                               "空のインストールに復元してください。")
                    .arg(table));
    } catch (const DbError &e) {
        return failure(e.describe());
    }
    if (m_db.isSQLite())
        return restoreSqlite(file);
    if (m_db.isPostgreSQL())
        return restorePostgres(file);
    return failure(QStringLiteral("データベースに接続されていません。"));
}

// --- SQLite ---------------------------------------------------------------------------------

DatabaseBackup::Result DatabaseBackup::backupSqlite(const QString &file)
{
    auto *source = static_cast<sqlite3 *>(m_db.nativeHandle());
    if (!source)
        return failure(QStringLiteral("データベースに接続されていません。"));
    const QString part = partName(file);
    QFile::remove(part);
    sqlite3 *target = nullptr;
    QString error;
    bool ok = sqlite3_open_v2(part.toUtf8().constData(), &target,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
    if (!ok)
        error = target ? sqliteError(target) : part;
    if (ok)
        ok = copyDatabase(source, target, &error);
    // The copy is one file of its own, without the write-ahead log of a running desk.
    if (ok && !execSqlite(target, "PRAGMA journal_mode=DELETE")) {
        ok = false;
        error = sqliteError(target);
    }
    if (ok) {
        const QString check = runIntegrityCheck(target);
        if (check != QLatin1String("ok")) {
            ok = false;
            error = QStringLiteral("整合性の確認で問題が見つかりました: ") + check;
        }
    }
    sqlite3_close(target);
    if (ok && !QFile::rename(part, file)) {
        ok = false;
        error = QStringLiteral("名前を付けられません: ") + file;
    }
    if (!ok) {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
        return failure(QStringLiteral("バックアップできません: ") + error);
    }
    return {true, QStringLiteral("バックアップしました: ") + file};
}

DatabaseBackup::Result DatabaseBackup::restoreSqlite(const QString &file)
{
    if (!startsWith(file, kSqliteMagic))
        return failure(QStringLiteral("SQLite のバックアップではありません: ") + file);
    const QString check = integrityCheck(file);
    if (check != QLatin1String("ok"))
        return failure(QStringLiteral("バックアップの整合性の確認で問題が見つかりました: ") +
                       check);
    sqlite3 *source = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(source);
        return failure(QStringLiteral("バックアップを開けません: ") + file);
    }
    sqlite3_stmt *stmt = nullptr;
    bool isDesk = sqlite3_prepare_v2(source,
                                     "SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                     "name = 'TBL_ORDER'",
                                     -1, &stmt, nullptr) == SQLITE_OK &&
                  sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    if (!isDesk) {
        sqlite3_close(source);
        return failure(QStringLiteral("受注処理のバックアップではありません: ") + file);
    }
    auto *target = static_cast<sqlite3 *>(m_db.nativeHandle());
    QString error;
    const bool ok = target && copyDatabase(source, target, &error);
    sqlite3_close(source);
    if (!ok)
        return failure(QStringLiteral("復元できません: ") + error);
    try {
        m_db.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        Schema::createMissing(m_db);
    } catch (const DbError &e) {
        return failure(e.describe());
    }
    const QString after = runIntegrityCheck(target);
    if (after != QLatin1String("ok"))
        return failure(QStringLiteral("復元後の整合性の確認で問題が見つかりました: ") + after);
    return {true, QStringLiteral("復元しました。")};
}

// --- PostgreSQL -----------------------------------------------------------------------------

namespace {

struct ToolRun {
    bool ok = false;
    QString output;
    QString errors;
};

ToolRun runTool(const QString &tool, const QStringList &args, const QString &password,
                int timeoutSeconds)
{
    ToolRun run;
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        run.errors =
            QStringLiteral("%1 が見つかりません。パッケージ postgresql-client を入れてください。")
                .arg(tool);
        return run;
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), password);
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QString::number(qMax(1, timeoutSeconds)));
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(-1)) {
        run.errors = process.errorString();
        return run;
    }
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    run.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return run;
}

} // namespace

DatabaseBackup::Result DatabaseBackup::backupPostgres(const QString &file)
{
    const QString part = partName(file);
    QFile::remove(part);
    const ConnectionSettings &s = m_db.settings();
    const QStringList args =
        postgresArgs() + QStringList{QStringLiteral("--format=custom"),
                                     QStringLiteral("--schema=") + schema(),
                                     QStringLiteral("--file=") + part, s.database};
    const ToolRun run = runTool(QStringLiteral("pg_dump"), args, s.password, s.timeout);
    if (!run.ok) {
        QFile::remove(part);
        return failure(QStringLiteral("バックアップできません: ") + run.errors);
    }
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        return failure(QStringLiteral("バックアップできません: 名前を付けられません: ") + file);
    }
    return {true, QStringLiteral("バックアップしました: ") + file};
}

DatabaseBackup::Result DatabaseBackup::restorePostgres(const QString &file)
{
    if (!startsWith(file, kDumpMagic))
        return failure(
            QStringLiteral("PostgreSQL のバックアップ（pg_dump のカスタム形式）ではありません: ") +
            file);
    const ConnectionSettings &s = m_db.settings();
    const ToolRun list = runTool(QStringLiteral("pg_restore"), {QStringLiteral("--list"), file},
                                 QString(), s.timeout);
    if (!list.ok)
        return failure(QStringLiteral("バックアップを読めません: ") + list.errors);
    // "215; 1259 16386 TABLE s1 TBL_ORDER owner": the schema each table was dumped from. The
    // schema's own entry is left out, so that an existing (empty) schema takes the tables.
    QStringList kept;
    QStringList schemas;
    bool hasOrders = false;
    for (const QString &line : list.output.split(QLatin1Char('\n'))) {
        const QStringList w = line.simplified().split(QLatin1Char(' '));
        if (line.startsWith(QLatin1Char(';')) || w.size() < 5)
            continue;
        if (w.at(3) == QLatin1String("SCHEMA") ||
            (w.at(3) == QLatin1String("COMMENT") && w.value(5) == QLatin1String("SCHEMA")))
            continue;
        if (w.at(3) == QLatin1String("TABLE") && w.at(4) != QLatin1String("DATA") &&
            w.size() >= 6) {
            if (!schemas.contains(w.at(4)))
                schemas << w.at(4);
            hasOrders =
                hasOrders || w.at(5).compare(QLatin1String("TBL_ORDER"), Qt::CaseInsensitive) == 0;
        }
        kept << line;
    }
    if (!hasOrders)
        return failure(QStringLiteral("受注処理のバックアップではありません: ") + file);
    if (schemas.size() != 1 || schemas.first() != schema())
        return failure(
            QStringLiteral("バックアップのスキーマ（%1）と設定のスキーマ（%2）が違います。")
                .arg(schemas.join(QStringLiteral("、")), schema()));
    QTemporaryFile listFile;
    if (!listFile.open())
        return failure(QStringLiteral("一時ファイルを作れません。"));
    listFile.write((kept.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    listFile.flush();
    try {
        m_db.dialect().createSchema(m_db, schema());
    } catch (const DbError &e) {
        return failure(e.describe());
    }
    // The empty tables init-db made are dropped and made again from the backup, all in one
    // transaction: a failed restore leaves the installation as it was.
    const QStringList args =
        postgresArgs() + QStringList{QStringLiteral("--clean"),
                                     QStringLiteral("--if-exists"),
                                     QStringLiteral("--no-owner"),
                                     QStringLiteral("--no-privileges"),
                                     QStringLiteral("--single-transaction"),
                                     QStringLiteral("--exit-on-error"),
                                     QStringLiteral("--use-list=") + listFile.fileName(),
                                     QStringLiteral("--dbname=") + s.database,
                                     file};
    const ToolRun run = runTool(QStringLiteral("pg_restore"), args, s.password, s.timeout);
    if (!run.ok)
        return failure(QStringLiteral("復元できません: ") + run.errors);
    try {
        Schema::createMissing(m_db);
    } catch (const DbError &e) {
        return failure(e.describe());
    }
    return {true, QStringLiteral("復元しました。")};
}
