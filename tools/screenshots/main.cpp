// ostera_screenshots --ini INI --out DIR --date YYYYMMDD --order-file FILE
//
// Opens the desk's screens on the installation of INI, as an operator logged in there would
// see them, and saves each window as DIR/<name>.png. The day given by --date must have been
// imported and given a printer (scripts/screenshots does that with the batch commands). Run it
// with QT_QPA_PLATFORM=offscreen; the clock follows OSTERA_FIXED_CLOCK like the batch.
#include "AllScreens.h"
#include "Camera.h"
#include "Desk.h"
#include "Installation.h"
#include "Progress.h"
#include "ProgressWindow.h"
#include "ScreenRegistry.h"
#include "ScreenshotTour.h"
#include "Session.h"
#include "ShotDialogs.h"
#include "ShotProgress.h"
#include "StartUp.h"
#include "globals.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {
QString option(const QStringList &args, const QString &name)
{
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyDeskLook(app);
    app.setQuitOnLastWindowClosed(false);
    // A caret that blinks would be caught on or off at random.
    QApplication::setCursorFlashTime(0);

    const QStringList args = app.arguments();
    const QString ini = option(args, QStringLiteral("--ini"));
    const QString out = option(args, QStringLiteral("--out"));
    ScreenshotTour::Day day{option(args, QStringLiteral("--date")),
                            option(args, QStringLiteral("--order-file"))};
    if (ini.isEmpty() || out.isEmpty() || day.impDate.isEmpty() || day.orderFile.isEmpty()) {
        std::fprintf(stderr, "usage: ostera_screenshots --ini INI --out DIR --date YYYYMMDD "
                             "--order-file FILE\n");
        return 2;
    }

    Camera camera(out);
    ShotDialogs dialogs(camera);
    setAppDialogs(&dialogs);
    ProgressWindow splash;
    ShotProgress progress(splash, camera);
    setAppProgress(&progress);
    registerAllScreens();

    // Start-up as the desk does it, on the given installation.
    Session session;
    session.setIniPath(QFileInfo(ini).absoluteFilePath());
    ScreenRegistry::instance().setSession(&session);
    if (readSettings(session, dialogs) != Outcome::Done)
        return 1;
    gComputerName = computerName(dialogs);
    gVersion = versionText();
    if (session.open() != Outcome::Done)
        return 1;

    ScreenshotTour tour(camera, dialogs, progress, day);
    const int status = tour.run();
    ScreenRegistry::instance().closeAll();
    setAppProgress(nullptr);
    setAppDialogs(nullptr);
    session.shutdown();
    ScreenRegistry::instance().setSession(nullptr);
    return status;
}
