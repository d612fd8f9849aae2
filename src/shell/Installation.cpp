#include "Installation.h"

#include "globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Installation {

QString resolveIniPath(const QString &iniOption, const QString &programPath)
{
    if (!iniOption.isEmpty())
        return QFileInfo(iniOption).absoluteFilePath();
    if (!programPath.isEmpty()) {
        const QFileInfo program(programPath);
        const QString beside =
            program.absoluteDir().filePath(program.completeBaseName() + QStringLiteral(".ini"));
        if (QFileInfo::exists(beside))
            return beside;
    }
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir(config).filePath(QStringLiteral("ostera/ostera.ini"));
}

QString installDirOf(const QString &iniPath)
{
    return QFileInfo(iniPath).absolutePath();
}

QString shareDir()
{
    const QString env = qEnvironmentVariable("OSTERA_SHARE_DIR");
    if (!env.isEmpty())
        return env;
    const QString appDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::cleanPath(appDir + QStringLiteral("/../share/ostera"));
}

QString dataFile(const QString &relativePath)
{
    if (!gInstallDir.isEmpty()) {
        const QString local = QDir(gInstallDir).filePath(relativePath);
        if (QFileInfo::exists(local))
            return local;
    }
    return QDir(shareDir()).filePath(relativePath);
}

QString folderPath(const QString &setting)
{
    if (setting.isEmpty() || QFileInfo(setting).isAbsolute() || gInstallDir.isEmpty())
        return setting;
    return QDir(gInstallDir).filePath(setting);
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    QString f = folder;
    while (f.size() > 1 && (f.endsWith(QLatin1Char('/')) || f.endsWith(QLatin1Char('\\'))))
        f.chop(1);
    QString n = name;
    while (n.startsWith(QLatin1Char('/')) || n.startsWith(QLatin1Char('\\')))
        n.remove(0, 1);
    if (f == QLatin1String("/"))
        return f + n;
    return f + QLatin1Char('/') + n;
}

namespace {
QString subFolder(const QString &name)
{
    const QString base = gInstallDir.isEmpty() ? QDir::currentPath() : gInstallDir;
    const QString path = QDir(base).filePath(name);
    QDir().mkpath(path);
    return path;
}
} // namespace

QString printDir()
{
    return subFolder(QStringLiteral("print"));
}

QString exportDir()
{
    return subFolder(QStringLiteral("export"));
}

} // namespace Installation
