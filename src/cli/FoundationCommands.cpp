// init-db, demo, masters load|dump.
#include "CommandRegistry.h"
#include "Session.h"

#include "Clock.h"
#include "ConsoleDialogs.h"
#include "Db.h"
#include "DbConnection.h"
#include "DemoData.h"
#include "DemoOrderFile.h"
#include "Dialogs.h"
#include "IniFile.h"
#include "Installation.h"
#include "MasterFiles.h"
#include "Schema.h"
#include "StartUp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlRecord>

#include <cstdio>

namespace {

QString monthText(const QDate &day)
{
    return QStringLiteral("%1年%2月").arg(day.year()).arg(day.month(), 2, 10, QLatin1Char('0'));
}

// The tables, and with `demo` the demo masters and the business month of today, in one
// transaction: a failure leaves the database as it was. Returns the refusal or error text,
// empty on success.
QString createTables(Db &db, bool demo)
{
    try {
        Transaction tx(db);
        QString message;
        if (Schema::create(db, &message) != Outcome::Done)
            return message;
        if (demo) {
            DemoData::loadMasters(db);
            DemoData::openBusinessMonth(db, Clock::today());
        }
        tx.commit();
    } catch (const DbError &e) {
        return e.describe();
    }
    return {};
}

// init-db works before the tables exist, so it opens its own connection (creating a SQLite
// file when there is none) instead of the session's.
int initDb(BatchContext &ctx)
{
    const bool demo = takeFlag(ctx.args, QStringLiteral("--demo"));
    if (!ctx.args.isEmpty())
        return usageError(QStringLiteral("init-db [--demo]"),
                          QStringLiteral("余分な引数があります。"));
    Db db(ConnectionSettings::fromGlobals());
    try {
        db.open(/*createIfMissing*/ true);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error, QStringLiteral("init-db"));
        return ExitFailed;
    }
    const QString failure = createTables(db, demo);
    if (!failure.isEmpty()) {
        ctx.dialogs.message(failure, Icon::Error, QStringLiteral("init-db"));
        return ExitFailed;
    }
    ctx.dialogs.message(demo ? QStringLiteral("テーブルを作成し、デモデータを読み込みました。（") +
                                   monthText(Clock::today()) + QStringLiteral("の月次業務を開始）")
                             : QStringLiteral("テーブルを作成しました。"),
                        Icon::Information);
    return ExitOk;
}

// --- demo DIR ---------------------------------------------------------------------------

const QStringList &outputFolders()
{
    static const QStringList names = {QStringLiteral("生産C"), QStringLiteral("確認版下"),
                                      QStringLiteral("指示版下"), QStringLiteral("ロットシール"),
                                      QStringLiteral("ロットシート")};
    return names;
}

void writeDemoIni(const QString &iniPath, const QStringList &folders)
{
    IniFile ini;
    ini.setFileName(iniPath);
    ini.setSection(QStringLiteral("SQLDB"));
    ini.writeString(QStringLiteral("PROVIDER"), QStringLiteral("SQLite"));
    ini.writeString(QStringLiteral("SERVER_NM"), QStringLiteral("ostera.db"));
    ini.writeString(QStringLiteral("DB_NM"), QString());
    ini.writeString(QStringLiteral("DBUSER_NM"), QString());
    ini.writeString(QStringLiteral("PASSWORD"), QString());
    ini.writeString(QStringLiteral("TIMEOUT"), QStringLiteral("20"));
    ini.setSection(QStringLiteral("Zenpan"));
    ini.writeString(QStringLiteral("L_PRINTER"), QStringLiteral("PDFファイル"));
    ini.writeString(QStringLiteral("D_PRINTER"), QString());
    ini.writeString(QStringLiteral("USER_NM"), QStringLiteral("デモ担当"));
    ini.setSection(QStringLiteral("tarvolin"));
    const QStringList keys = {QStringLiteral("CarDir"), QStringLiteral("KakDir"),
                              QStringLiteral("HanDir"), QStringLiteral("StkDir"),
                              QStringLiteral("ShtDir")};
    for (int i = 0; i < keys.size(); ++i)
        ini.writeString(keys.at(i), folders.at(i));
}

// Copies a file or a folder tree of the package's share folder, keeping what DIR already has.
// Returns the number of files copied.
int copyShared(const QString &name, const QString &dir)
{
    const QString source = QDir(Installation::shareDir()).filePath(name);
    const QFileInfo info(source);
    if (!info.exists())
        return 0;
    if (info.isFile()) {
        const QString target = QDir(dir).filePath(name);
        return !QFileInfo::exists(target) && QFile::copy(source, target) ? 1 : 0;
    }
    int copied = 0;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target =
            QDir(dir).filePath(name + QLatin1Char('/') + QDir(source).relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFileInfo::exists(target) && QFile::copy(file, target))
            ++copied;
    }
    return copied;
}

void removeDatabaseFiles(const QString &dbPath)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(dbPath + QLatin1String(suffix));
}

QString writeOrderFile(const QString &dir, const QDate &today)
{
    DemoOrderFile::Options options;
    options.date = today;
    options.lines = 300;
    options.seed = quint32(today.toString(QStringLiteral("yyyyMMdd")).toUInt());
    options.plantFindings = true;
    const QString path =
        QDir(dir).filePath(QStringLiteral("orders/ORDER_") +
                           today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".txt"));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(DemoOrderFile::generate(options)) < 0 ||
        !out.commit())
        return {};
    return path;
}

int makeDemo(BatchContext &ctx)
{
    if (ctx.args.size() != 1)
        return usageError(QStringLiteral("demo DIR"),
                          QStringLiteral("フォルダを一つ指定してください。"));
    const QString dir = QDir::cleanPath(QFileInfo(ctx.args.first()).absoluteFilePath());
    const QString iniPath = QDir(dir).filePath(QStringLiteral("ostera.ini"));
    const QString dbPath = QDir(dir).filePath(QStringLiteral("ostera.db"));
    if (QFileInfo::exists(iniPath) || QFileInfo::exists(dbPath)) {
        ctx.dialogs.message(
            dir + QStringLiteral(" には既にインストールがあります（") +
                QFileInfo(QFileInfo::exists(iniPath) ? iniPath : dbPath).fileName() +
                QStringLiteral("）。別のフォルダを指定してください。"),
            Icon::Error, QStringLiteral("demo"));
        return ExitFailed;
    }

    QStringList folders;
    for (const QString &name : outputFolders())
        folders << QDir(dir).filePath(QStringLiteral("out/") + name);
    const QStringList made = QStringList(folders) << QDir(dir).filePath(QStringLiteral("orders"));
    for (const QString &folder : made) {
        if (!QDir().mkpath(folder)) {
            ctx.dialogs.message(QStringLiteral("フォルダを作成できません: ") + folder, Icon::Error,
                                QStringLiteral("demo"));
            return ExitFailed;
        }
    }

    ConnectionSettings settings;
    settings.provider = QStringLiteral("SQLite");
    settings.server = QStringLiteral("ostera.db");
    settings.timeout = 20;
    settings.baseDir = dir;
    QString failure;
    {
        Db db(settings);
        try {
            db.open(/*createIfMissing*/ true);
            failure = createTables(db, /*demo*/ true);
        } catch (const DbError &e) {
            failure = e.describe();
        }
    }
    if (!failure.isEmpty()) {
        removeDatabaseFiles(dbPath);
        ctx.dialogs.message(failure, Icon::Error, QStringLiteral("demo"));
        return ExitFailed;
    }

    const int menuFiles = copyShared(QStringLiteral("Menu1.txt"), dir);
    const int layoutFiles = copyShared(QStringLiteral("sys_crf"), dir);
    const QDate today = Clock::today();
    const QString orderFile = writeOrderFile(dir, today);
    if (orderFile.isEmpty()) {
        removeDatabaseFiles(dbPath);
        ctx.dialogs.message(QStringLiteral("注文ファイルを書き出せません: ") + dir, Icon::Error,
                            QStringLiteral("demo"));
        return ExitFailed;
    }
    // Written last: an installation without its INI file can be made again.
    writeDemoIni(iniPath, folders);

    writeOut(
        QStringLiteral("デモ環境: %1\n").arg(dir) +
        QStringLiteral("  設定ファイル   %1\n").arg(iniPath) +
        QStringLiteral("  データベース   %1（デモマスタ、%2の月次業務）\n")
            .arg(dbPath, monthText(today)) +
        QStringLiteral("  注文ファイル   %1（300件）\n").arg(orderFile) +
        QStringLiteral("  出力フォルダ   %1\n").arg(QDir(dir).filePath(QStringLiteral("out"))) +
        QStringLiteral("  メニュー       %1\n")
            .arg(menuFiles ? QStringLiteral("Menu1.txt") : QStringLiteral("（なし）")) +
        QStringLiteral("  帳票レイアウト %1 ファイル\n").arg(layoutFiles) +
        QStringLiteral("起動: ostera --ini %1\n").arg(iniPath));
    return ExitOk;
}

// --- masters load|dump DIR ------------------------------------------------------------------

int masters(BatchContext &ctx)
{
    const QString line = QStringLiteral("masters load|dump DIR");
    if (ctx.args.size() != 2)
        return usageError(line, QStringLiteral("load か dump とフォルダを指定してください。"));
    const QString verb = ctx.args.at(0);
    if (verb != QLatin1String("load") && verb != QLatin1String("dump"))
        return usageError(line, verb + QStringLiteral(" そんな命令ないです。"));
    const QString dir = ctx.args.at(1);
    MasterFiles files(ctx.db(), &ctx.progress);
    const MasterFiles::Result result =
        verb == QLatin1String("load") ? files.load(dir) : files.dump(dir);
    if (!result.ok) {
        ctx.dialogs.message(result.message, Icon::Error, QStringLiteral("masters"));
        return ExitFailed;
    }
    QString report;
    for (const auto &table : result.tables)
        report +=
            table.first + QLatin1Char('\t') + QString::number(table.second) + QLatin1Char('\n');
    writeOut(report);
    ctx.dialogs.message(verb == QLatin1String("load") ? QStringLiteral("マスタを読み込みました。")
                                                      : QStringLiteral("マスタを書き出しました。"),
                        Icon::Information);
    return ExitOk;
}

// --- status ----------------------------------------------------------------------------------

// The installation as an administrator checks it: where it is, what it is set to, and whether
// its database answers with the desk's tables. Every line is printed even when an early one
// fails, so one run shows everything to put right.
int status(BatchContext &ctx)
{
    if (!ctx.args.isEmpty())
        return usageError(QStringLiteral("status"), QStringLiteral("余分な引数があります。"));
    const bool iniFound = QFileInfo::exists(ctx.session.iniPath());
    if (iniFound && readSettings(ctx.session, ctx.dialogs) != Outcome::Done)
        return ExitFailed;
    const auto line = [](const QString &label, const QString &value) {
        writeOut(label.leftJustified(7, QChar(0x3000)) + QLatin1Char(' ') + value +
                 QLatin1Char('\n'));
    };
    line(QStringLiteral("インストール先"), ctx.session.installDir());
    line(QStringLiteral("設定ファイル"),
         ctx.session.iniPath() + (iniFound ? QString() : QStringLiteral("（ありません）")));
    const ConnectionSettings settings = ConnectionSettings::fromGlobals();
    const bool sqlite = settings.provider == QLatin1String("SQLite");
    line(QStringLiteral("エンジン"),
         settings.provider.isEmpty() ? QStringLiteral("（未設定）") : settings.provider);
    if (sqlite) {
        line(QStringLiteral("データベース"), Installation::folderPath(settings.server));
    } else {
        line(QStringLiteral("サーバ"), settings.server);
        line(QStringLiteral("データベース"), settings.database);
        line(QStringLiteral("ユーザ"), settings.user);
        line(QStringLiteral("スキーマ"),
             settings.schema.isEmpty() ? QStringLiteral("public") : settings.schema);
    }

    const QString problem = settingsProblem(true);
    if (!problem.isEmpty()) {
        line(QStringLiteral("接続"), QStringLiteral("NG"));
        ctx.dialogs.message(problem, Icon::Error, QStringLiteral("status"));
        return ExitFailed;
    }
    Db db(settings);
    try {
        db.open();
    } catch (const DbError &e) {
        line(QStringLiteral("接続"), QStringLiteral("NG"));
        ctx.dialogs.message(e.describe(), Icon::Error, QStringLiteral("status"));
        return ExitFailed;
    }
    line(QStringLiteral("接続"), QStringLiteral("OK"));
    bool healthy = true;
    try {
        const QStringList missing = Schema::missingParts(db);
        const int tables = int(Schema::tableNames().size());
        if (missing.isEmpty()) {
            line(QStringLiteral("テーブル"),
                 QStringLiteral("%1 テーブル、すべてあります").arg(tables));
        } else {
            healthy = false;
            line(QStringLiteral("テーブル"),
                 QStringLiteral("不足 ") + missing.join(QStringLiteral(", ")));
        }
        const int outsideC = Schema::textColumnsOutsideC(db);
        if (outsideC > 0) {
            healthy = false;
            line(QStringLiteral("照合順序"),
                 QStringLiteral("C でない文字列の列が %1 あります").arg(outsideC));
        }
        if (!db.tableExists(QStringLiteral("SYS_TUKI"))) {
            line(QStringLiteral("営業月"), QStringLiteral("（テーブルがありません）"));
        } else {
            QStringList months;
            for (const QSqlRecord &r :
                 db.rows(QStringLiteral("SELECT NEN, TUKI FROM SYS_TUKI WHERE KAKUTEI_FLG = '0' "
                                        "ORDER BY NEN, TUKI")))
                months << r.value(0).toString() + QLatin1Char('/') + r.value(1).toString();
            line(QStringLiteral("営業月"), months.isEmpty()
                                               ? QStringLiteral("（開いている月がありません）")
                                               : months.join(QStringLiteral(", ")));
        }
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error, QStringLiteral("status"));
        return ExitFailed;
    }
    if (!healthy) {
        ctx.dialogs.message(QStringLiteral("データベースの更新が必要です。ostera upgrade-db を実行"
                                           "してください。（テーブルがない場合は ostera init-db）"),
                            Icon::Error, QStringLiteral("status"));
        return ExitFailed;
    }
    ctx.dialogs.message(QStringLiteral("正常です。"), Icon::Information);
    return ExitOk;
}

} // namespace

void registerFoundationCommands(CommandRegistry &registry)
{
    registry.add({QStringLiteral("init-db"), QStringLiteral("init-db [--demo]"),
                  QStringLiteral("creates every table in the configured database (--demo: also the "
                                 "demo masters and the current business month)"),
                  /*needsDatabase*/ false, [](BatchContext &ctx) {
                      // Settings are read here because the command opens its own connection.
                      if (readSettings(ctx.session, ctx.dialogs) != Outcome::Done)
                          return int(ExitFailed);
                      return initDb(ctx);
                  }});
    registry.add({QStringLiteral("demo"), QStringLiteral("demo DIR"),
                  QStringLiteral("makes a complete demo installation in DIR (ostera.ini, SQLite "
                                 "database with the demo masters, output folders, a sample order "
                                 "file for today)"),
                  /*needsDatabase*/ false, makeDemo, /*makesInstallation*/ true});
    registry.add({QStringLiteral("status"), QStringLiteral("status"),
                  QStringLiteral("prints the installation folder, the INI file, the engine, server "
                                 "or file, schema, whether the database connects and has every "
                                 "table, and the open business months; exit 0 when all is well"),
                  /*needsDatabase*/ false, status});
    registry.add({QStringLiteral("masters"), QStringLiteral("masters load|dump DIR"),
                  QStringLiteral("loads or writes every master table as DIR/TABLE.csv (UTF-8, "
                                 "header line). Templates to fill in: the demo masters in "
                                 "share/ostera/demo/ of the package (/usr/share/ostera/demo), or "
                                 "masters dump of an installation"),
                  /*needsDatabase*/ true, masters});
}
