#include "AllScreens.h"
#include "Batch.h"
#include "Desk.h"
#include "DeskFont.h"
#include "Printers.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QStringList>

#include <unistd.h>

namespace {

// Qt wants a private runtime folder; a batch run from cron or CI, or a desk started from a
// bare X session, may have none.
void ensureRuntimeDir()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString dir =
        QDir::tempPath() + QStringLiteral("/ostera-runtime-") + QString::number(getuid());
    QDir().mkpath(dir);
    QFile::setPermissions(dir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
}

// A batch run shows no window: painting and fonts for the printed lists are all it needs.
int runBatchCommand(int argc, char **argv, const QStringList &args)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDir();
    QGuiApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ostera"));
    app.setFont(deskFont());
    installAppPrinters();
    return runBatch(args, QCoreApplication::applicationFilePath());
}

QString iniOption(const QStringList &args)
{
    const int i = args.indexOf(QStringLiteral("--ini"));
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
}
} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString programPath = QString::fromLocal8Bit(argv[0]);

    if (isBatchInvocation(args))
        return runBatchCommand(argc, argv, args);
    ensureRuntimeDir();
    QApplication app(argc, argv);
    installAppPrinters();
    registerAllScreens();
    return runDesk(app, iniOption(args), QCoreApplication::applicationFilePath());
}
