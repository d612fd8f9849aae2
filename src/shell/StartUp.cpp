#include "StartUp.h"

#include "Dialogs.h"
#include "IniFile.h"
#include "Session.h"
#include "globals.h"
#include "version.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

namespace {
// Visual Basic's "path/file access error", kept as the number operators know.
constexpr int kFileAccessError = 75;

int timeoutRule(int stored)
{
    // 0, negative or non-numeric values mean the default of 20 seconds.
    return stored > 0 ? stored : 20;
}
} // namespace

Outcome readSettings(Session &session, Dialogs &dialogs)
{
    if (QFileInfo::exists(gIniPath)) {
        QFile probe(gIniPath);
        if (!probe.open(QIODevice::ReadOnly)) {
            dialogs.message(probe.errorString() + QStringLiteral(": ") + gIniPath +
                                QStringLiteral("(%1)").arg(kFileAccessError),
                            Icon::Error, QStringLiteral("MF_FirstSetting"));
            return Outcome::Failed;
        }
    }
    IniFile ini;
    ini.setFileName(gIniPath);
    ini.setSection(QStringLiteral("SQLDB"));
    gProvider = ini.readString(QStringLiteral("PROVIDER"), QString());
    gServerName = ini.readString(QStringLiteral("SERVER_NM"), QString());
    gDbName = ini.readString(QStringLiteral("DB_NM"), QString());
    gDbUser = ini.readString(QStringLiteral("DBUSER_NM"), QString());
    gDbPassword = ini.readString(QStringLiteral("PASSWORD"), QString());
    gTimeout = timeoutRule(ini.readInteger(QStringLiteral("TIMEOUT"), 0));
    gDbSchema = ini.readString(QStringLiteral("SCHEMA"), QString());

    ini.setSection(QStringLiteral("tarvolin"));
    OutputFolders folders;
    folders.car = ini.readString(QStringLiteral("CarDir"), QString());
    folders.kak = ini.readString(QStringLiteral("KakDir"), QString());
    folders.han = ini.readString(QStringLiteral("HanDir"), QString());
    folders.stk = ini.readString(QStringLiteral("StkDir"), QString());
    folders.sht = ini.readString(QStringLiteral("ShtDir"), QString());
    session.setFolderSettings(folders);

    ini.setSection(QStringLiteral("Zenpan"));
    session.setListPrinter(ini.readString(QStringLiteral("L_PRINTER"), QString()));
    session.setDailyPrinter(ini.readString(QStringLiteral("D_PRINTER"), QString()));
    session.setUserName(ini.readString(QStringLiteral("USER_NM"), QString()));
    return Outcome::Done;
}

QString settingsProblem(bool iniNamed)
{
    if (!QFileInfo::exists(gIniPath)) {
        if (iniNamed)
            return QStringLiteral("設定ファイルがありません。\n") + gIniPath;
        return QStringLiteral("データベースが設定されていません。\n（設定ファイル ") + gIniPath +
               QStringLiteral(" がありません）");
    }
    if (gProvider.trimmed().isEmpty())
        return QStringLiteral("データベースが設定されていません。\n（設定ファイル ") + gIniPath +
               QStringLiteral(" の [SQLDB] PROVIDER が空です）");
    return {};
}

QString computerName(Dialogs &dialogs)
{
    QString name = QSysInfo::machineHostName();
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    name.truncate(15);
    if (name.isEmpty()) {
        dialogs.message(QStringLiteral("コンピュータ名取得失敗。\n管理者に報告してください。"),
                        Icon::None, QStringLiteral("GetSelfComputerName"));
    }
    return name;
}

QString versionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(OSTERA_VERSION_MAJOR)
        .arg(OSTERA_VERSION_MINOR)
        .arg(OSTERA_VERSION_PATCH);
}

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire(const QString &iniPath)
{
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(QFileInfo(iniPath).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    m_lock = std::make_unique<QLockFile>(QDir(runtime).filePath(
        QStringLiteral("ostera-") + QString::fromLatin1(key) + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
