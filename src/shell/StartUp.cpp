#include "StartUp.h"

#include "Dialogs.h"
#include "clsIniFile.h"
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

bool MF_FirstSetting(Dialogs &dialogs)
{
    if (QFileInfo::exists(gIniPath)) {
        QFile probe(gIniPath);
        if (!probe.open(QIODevice::ReadOnly)) {
            dialogs.message(probe.errorString() + QStringLiteral(": ") + gIniPath +
                                QStringLiteral("(%1)").arg(kFileAccessError),
                            Icon::Error, QStringLiteral("MF_FirstSetting"));
            return true;
        }
    }
    clsIniFile ini;
    ini.setFileName(gIniPath);
    ini.setSection(QStringLiteral("SQLDB"));
    gProvider = ini.GetString(QStringLiteral("PROVIDER"), QString());
    gServerName = ini.GetString(QStringLiteral("SERVER_NM"), QString());
    gDbName = ini.GetString(QStringLiteral("DB_NM"), QString());
    gDbUser = ini.GetString(QStringLiteral("DBUSER_NM"), QString());
    gDbPassword = ini.GetString(QStringLiteral("PASSWORD"), QString());
    gTimeout = timeoutRule(ini.GetInteger(QStringLiteral("TIMEOUT"), 0));
    gDbSchema = ini.GetString(QStringLiteral("SCHEMA"), QString());

    ini.setSection(QStringLiteral("tarvolin"));
    gCarDir = ini.GetString(QStringLiteral("CarDir"), QString());
    gKakDir = ini.GetString(QStringLiteral("KakDir"), QString());
    gHanDir = ini.GetString(QStringLiteral("HanDir"), QString());
    gStkDir = ini.GetString(QStringLiteral("StkDir"), QString());
    gShtDir = ini.GetString(QStringLiteral("ShtDir"), QString());

    ini.setSection(QStringLiteral("Zenpan"));
    gLPrinter = ini.GetString(QStringLiteral("L_PRINTER"), QString());
    gDPrinter = ini.GetString(QStringLiteral("D_PRINTER"), QString());
    gUserName = ini.GetString(QStringLiteral("USER_NM"), QString());
    return false;
}

QString GetSelfComputerName(Dialogs &dialogs)
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
    m_lock = std::make_unique<QLockFile>(QDir(runtime).filePath(QStringLiteral("ostera-") +
                                                                QString::fromLatin1(key) +
                                                                QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
