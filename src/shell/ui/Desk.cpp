#include "Desk.h"

#include "DeskFont.h"
#include "Installation.h"
#include "LoginScreen.h"
#include "MessageBoxDialogs.h"
#include "OptionsScreen.h"
#include "ProgressWindow.h"
#include "ScreenRegistry.h"
#include "Session.h"
#include "StartUp.h"
#include "globals.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

void applyDeskLook(QApplication &app)
{
    app.setApplicationName(QStringLiteral("ostera"));
    // No display name: Qt would append it to every caption ("ログイン — ostera"), and the
    // captions are the desk's own. Message boxes still default to the application name.
    app.setFont(deskFont());
    app.setStyle(QStringLiteral("Fusion"));
    // Qt's own buttons and dialogs (はい/いいえ, the file and print dialogs) in Japanese, whatever
    // the locale of the workstation: the operators read nothing else.
    static QTranslator qtTexts;
    if (qtTexts.isEmpty() && qtTexts.load(QStringLiteral("qtbase_ja"),
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
}

FirstStart firstStart(Dialogs &dialogs, bool iniNamed)
{
    // A first start (no INI, no provider) or a mistyped --ini: said once, with the options
    // screen offered, instead of the folder warnings and a login that reaches no database.
    const QString problem = settingsProblem(iniNamed);
    if (problem.isEmpty())
        return FirstStart::Login;
    if (!dialogs.ask(problem + QStringLiteral("\n\n設定画面を開いて設定しますか？"), Icon::Question,
                     QStringLiteral("設定")))
        return FirstStart::Quit;
    return ScreenRegistry::instance().show<OptionsScreen>() ? FirstStart::Options
                                                            : FirstStart::Quit;
}

int runDesk(QApplication &app, const QString &iniOption, const QString &programPath)
{
    applyDeskLook(app);
    static MessageBoxDialogs dialogs;
    setAppDialogs(&dialogs);

    // The one session of the desk: every screen is built with it.
    Session session;
    session.setIniPath(Installation::resolveIniPath(iniOption, programPath));
    struct Handing {
        explicit Handing(Session &s) { ScreenRegistry::instance().setSession(&s); }
        ~Handing() { ScreenRegistry::instance().setSession(nullptr); }
    } handing(session);

    SingleInstance single;
    if (!single.acquire(session.iniPath()))
        return 0; // another copy runs on this installation: end silently

    ProgressWindow splash;
    setAppProgress(&splash);

    if (readSettings(session, dialogs) != Outcome::Done) {
        dialogs.message(QStringLiteral("初期化失敗\n強制終了します。"), Icon::Error,
                        QStringLiteral("強制終了"));
        return 1;
    }
    gComputerName = computerName(dialogs);
    gVersion = versionText();

    switch (firstStart(dialogs, !iniOption.isEmpty())) {
    case FirstStart::Login:
        break;
    case FirstStart::Quit:
        return 1;
    case FirstStart::Options: {
        const int status = app.exec();
        setAppProgress(nullptr);
        return status;
    }
    }

    if (!ScreenRegistry::instance().show<LoginScreen>()) {
        dialogs.message(QStringLiteral("ログイン画面がありません。"), Icon::Error,
                        QStringLiteral("ostera"));
        return 1;
    }
    const int status = app.exec();
    setAppProgress(nullptr);
    session.shutdown();
    return status;
}
