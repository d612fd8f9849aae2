#include "AllScreens.h"
#include "Db.h"
#include "Desk.h"
#include "IniFile.h"
#include "LoginScreen.h"
#include "MainMenuScreen.h"
#include "OptionsScreen.h"
#include "Printers.h"
#include "Schema.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "TestScreens.h"
#include "globals.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class TwoPrinters : public Printers {
public:
    QStringList installed() const override
    {
        return {QStringLiteral("LBP-事務所"), QStringLiteral("Zebra-1")};
    }
};

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetGlobals();
        ScreenRegistry::instance().clear();
        registerAllScreens();
        registerPlainScreen(QStringLiteral("frm_main")); // the menu is tested on its own
        session.reset();
        ScreenRegistry::instance().setSession(&session);
        setAppDialogs(&dialogs);
        setAppPrinters(&printers);
        for (const char *name : {"car", "kak", "han", "stk", "sht"})
            QDir(dir.path()).mkdir(QString::fromLatin1(name));
        setFolder(&OutputFolders::car, dir.filePath(QStringLiteral("car")));
        setFolder(&OutputFolders::kak, dir.filePath(QStringLiteral("kak")));
        setFolder(&OutputFolders::han, dir.filePath(QStringLiteral("han")) + QLatin1Char('/'));
        setFolder(&OutputFolders::stk, dir.filePath(QStringLiteral("stk")));
        setFolder(&OutputFolders::sht, dir.filePath(QStringLiteral("sht")));
        session.setUserName(QStringLiteral("山田"));
        gVersion = QStringLiteral("Version 1.0.7");
        session.setIniPath(dir.filePath(QStringLiteral("sub/ostera.ini")));
    }
    void TearDown() override
    {
        ScreenRegistry::instance().clear();
        ScreenRegistry::instance().setSession(nullptr);
        setAppDialogs(nullptr);
        setAppPrinters(nullptr);
    }

    void setFolder(QString OutputFolders::*folder, const QString &value)
    {
        OutputFolders folders = session.folderSettings();
        folders.*folder = value;
        session.setFolderSettings(folders);
    }

    // Shows the login screen and lets its folder check (run once it is up) happen.
    LoginScreen *openLogin()
    {
        auto *login = static_cast<LoginScreen *>(ScreenRegistry::instance().show<LoginScreen>());
        QCoreApplication::processEvents();
        return login;
    }

    static QStringList visibleWindows()
    {
        QStringList names;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                names << w->objectName();
        return names;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TwoPrinters printers;
    Session session;
};

const QString kSummary = QStringLiteral("パス設定に誤りがありました。\n"
                                        "オプション画面(F10)を開き設定を行ってください。");
} // namespace

TEST_F(LoginTest, GoodFoldersGiveNoMessageAndTheFormShowsNameAndVersion)
{
    LoginScreen *login = openLogin();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(login->checkOutputFolders(), Outcome::Done);
    EXPECT_EQ(login->userNameEdit->text(), QStringLiteral("山田"));
    EXPECT_EQ(login->versionLabel->text(), QStringLiteral("Version 1.0.7"));
    EXPECT_EQ(login->windowTitle(), QStringLiteral("ログイン"));
}

TEST_F(LoginTest, EmptyFoldersAreReportedInTableOrderThenTheSummary)
{
    session.setFolderSettings(OutputFolders());
    openLogin();
    const QStringList expected = {QStringLiteral("生産Cパスが未設定です。"),
                                  QStringLiteral("確認版下パスが未設定です。"),
                                  QStringLiteral("指示版下パスが未設定です。"),
                                  QStringLiteral("ロットシールパスが未設定です。"),
                                  QStringLiteral("ロットシートパスが未設定です。"),
                                  kSummary};
    EXPECT_EQ(dialogs.texts(), expected);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dialogs.shown[i].icon, Icon::Error);
    EXPECT_EQ(dialogs.shown[5].icon, Icon::None);
    EXPECT_TRUE(ScreenRegistry::instance().find<LoginScreen>()->isVisible());
}

TEST_F(LoginTest, MissingFoldersTwoAndFourAreReportedOnce)
{
    setFolder(&OutputFolders::kak, dir.filePath(QStringLiteral("nowhere")));
    // A file where a folder should be is no output folder.
    QFile file(dir.filePath(QStringLiteral("lot.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    setFolder(&OutputFolders::stk, file.fileName());
    openLogin();
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("確認版下パスが通っていません。"),
                           QStringLiteral("ロットシールパスが通っていません。"), kSummary}));
}

TEST_F(LoginTest, OkNeedsANameButBlanksAreAName)
{
    LoginScreen *login = openLogin();
    login->userNameEdit->clear();
    QTest::mouseClick(login->okButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("ユーザ名を入れてください。")}));
    EXPECT_EQ(dialogs.last().icon, Icon::None);
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(gUserName, QStringLiteral("山田"));

    login->userNameEdit->setText(QStringLiteral("  "));
    QTest::keyClick(login->userNameEdit, Qt::Key_Return);
    EXPECT_EQ(gUserName, QStringLiteral("  "));
    EXPECT_FALSE(login->isVisible());
    EXPECT_TRUE(ScreenRegistry::instance().find<MainMenuScreen>()->isVisible());
    // The name is for this run only.
    EXPECT_FALSE(QFile::exists(gIniPath));
}

TEST_F(LoginTest, F10OpensOptionsOnlyWithoutModifiers)
{
    LoginScreen *login = openLogin();
    QTest::keyClick(login->userNameEdit, Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(login->userNameEdit, Qt::Key_F10, Qt::ControlModifier);
    QTest::keyClick(login->userNameEdit, Qt::Key_F10, Qt::AltModifier);
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<OptionsScreen>());
    EXPECT_TRUE(login->isVisible());

    QTest::keyClick(login->userNameEdit, Qt::Key_F10);
    EXPECT_FALSE(login->isVisible());
    QWidget *options = ScreenRegistry::instance().find<OptionsScreen>();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->isVisible());
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<MainMenuScreen>());
}

TEST_F(LoginTest, CancelEndsTheRunWithNoOtherWindow)
{
    LoginScreen *login = openLogin();
    QTest::mouseClick(login->cancelButton, Qt::LeftButton);
    processDeletes();
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(',').toStdString();
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<MainMenuScreen>());
}

TEST_F(LoginTest, OptionsShowTheSettingsAndOfferEveryPrinterAndThePdfPrinter)
{
    gProvider = QStringLiteral("PostgreSQL");
    gTimeout = 45;
    session.setListPrinter(QStringLiteral("Zebra-1"));
    session.setDailyPrinter(QStringLiteral("もう無いプリンタ"));
    gDbPassword = QStringLiteral("secret");
    auto *options = static_cast<OptionsScreen *>(ScreenRegistry::instance().show<OptionsScreen>());
    EXPECT_EQ(options->windowTitle(), QStringLiteral("設定"));
    QStringList items;
    for (int i = 0; i < options->listPrinterCombo->count(); ++i)
        items << options->listPrinterCombo->itemText(i);
    EXPECT_EQ(items, QStringList({QStringLiteral("LBP-事務所"), QStringLiteral("Zebra-1"),
                                  QStringLiteral("PDFファイル")}));
    EXPECT_EQ(options->slipPrinterCombo->count(), 3);
    EXPECT_EQ(options->listPrinterCombo->currentText(), QStringLiteral("Zebra-1"));
    EXPECT_EQ(options->slipPrinterCombo->currentText(), QStringLiteral("もう無いプリンタ"));
    EXPECT_EQ(options->timeoutEdit->text(), QStringLiteral("45"));
    EXPECT_EQ(options->providerCombo->currentText(), QStringLiteral("PostgreSQL"));
    EXPECT_EQ(options->artworkFolderEdit->text(), session.folderSettings().han);
    EXPECT_EQ(options->passwordEdit->echoMode(), QLineEdit::Password);
}

TEST_F(LoginTest, SavingWritesAllFourteenKeysIntoANewFileAndEndsTheRun)
{
    QTest::keyClick(openLogin()->userNameEdit, Qt::Key_F10);
    auto *options = static_cast<OptionsScreen *>(ScreenRegistry::instance().find<OptionsScreen>());
    ASSERT_NE(options, nullptr);
    options->serverEdit->setText(QStringLiteral("db.example"));
    options->timeoutEdit->setText(QStringLiteral("abc")); // written as shown, not checked
    options->listPrinterCombo->setCurrentText(QStringLiteral("PDFファイル"));
    options->lotSealFolderEdit->setText(QStringLiteral("/srv/ロットシール/"));
    ASSERT_FALSE(QFile::exists(gIniPath));
    QTest::mouseClick(options->okButton, Qt::LeftButton);
    processDeletes();

    ASSERT_TRUE(QFile::exists(gIniPath));
    IniFile ini;
    ini.setFileName(gIniPath);
    QStringList sections;
    ini.sectionNames(sections);
    EXPECT_EQ(sections, QStringList({"SQLDB", "Zenpan", "tarvolin"}));
    const QList<QPair<QString, QStringList>> expected = {
        {"SQLDB",
         {"PROVIDER=", "SERVER_NM=db.example", "DB_NM=", "DBUSER_NM=", "PASSWORD=", "TIMEOUT=abc"}},
        {"Zenpan", {"L_PRINTER=PDFファイル", "D_PRINTER=", "USER_NM=山田"}},
        {"tarvolin",
         {"CarDir=" + session.folderSettings().car, "KakDir=" + session.folderSettings().kak,
          "HanDir=" + session.folderSettings().han, "StkDir=/srv/ロットシール/",
          "ShtDir=" + session.folderSettings().sht}}};
    for (const auto &[section, lines] : expected) {
        ini.setSection(section);
        QStringList stored;
        ini.sectionLines(stored);
        EXPECT_EQ(stored, lines) << section.toStdString();
    }
    EXPECT_TRUE(visibleWindows().isEmpty()) << visibleWindows().join(',').toStdString();
}

TEST_F(LoginTest, ConnectionTestUsesTheSettingsAsShownNotTheStoredOnes)
{
    gInstallDir = dir.path();
    gProvider = QStringLiteral("PostgreSQL"); // what the file says; the screen is being changed
    {
        ConnectionSettings shop;
        shop.provider = QStringLiteral("SQLite");
        shop.server = QStringLiteral("shop.db");
        shop.baseDir = dir.path();
        Db db(shop);
        db.open(/*createIfMissing*/ true);
        QString message;
        ASSERT_EQ(Schema::create(db, &message), Outcome::Done);
    }
    QFile(dir.filePath(QStringLiteral("empty.db"))).open(QIODevice::WriteOnly);
    auto *options = static_cast<OptionsScreen *>(ScreenRegistry::instance().show<OptionsScreen>());
    options->providerCombo->setCurrentText(QStringLiteral("SQLite"));
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("shop.db"), QStringLiteral("接続できました。")},
        {QStringLiteral("empty.db"), QStringLiteral("ostera init-db")},
        {QStringLiteral("none.db"), QStringLiteral("none.db")}};
    for (const auto &[server, told] : cases) {
        dialogs.clear();
        options->serverEdit->setText(server);
        QTest::mouseClick(options->testButton, Qt::LeftButton);
        ASSERT_EQ(dialogs.shown.size(), 1) << server.toStdString();
        EXPECT_TRUE(dialogs.last().text.contains(told)) << dialogs.last().text.toStdString();
        EXPECT_EQ(dialogs.last().icon,
                  server == QLatin1String("shop.db") ? Icon::Information : Icon::Error);
    }
    // A test creates nothing and writes nothing.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.db"))));
    EXPECT_FALSE(QFile::exists(gIniPath));
    EXPECT_TRUE(options->isVisible());
}

TEST_F(LoginTest, AFirstStartOffersTheOptionsInsteadOfTheLogin)
{
    // No INI at gIniPath: one message, the options screen on はい, no folder warnings.
    dialogs.answers = {true};
    EXPECT_EQ(firstStart(dialogs, /*iniNamed*/ false), FirstStart::Options);
    ASSERT_EQ(dialogs.shown.size(), 1) << dialogs.texts().join('\n').toStdString();
    EXPECT_TRUE(
        dialogs.last().text.startsWith(QStringLiteral("データベースが設定されていません。")));
    EXPECT_TRUE(ScreenRegistry::instance().isOpen<OptionsScreen>());
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<LoginScreen>());
    ScreenRegistry::instance().find<OptionsScreen>()->close();
    processDeletes();
    ASSERT_FALSE(ScreenRegistry::instance().isOpen<OptionsScreen>());

    dialogs.clear();
    dialogs.answers = {false};
    EXPECT_EQ(firstStart(dialogs, /*iniNamed*/ true), FirstStart::Quit);
    EXPECT_TRUE(dialogs.last().text.startsWith(QStringLiteral("設定ファイルがありません。")));
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<OptionsScreen>());

    // An INI that names a database goes on to the login without a word.
    IniFile ini;
    ini.setFileName(gIniPath);
    ini.setSection(QStringLiteral("SQLDB"));
    ini.writeString(QStringLiteral("PROVIDER"), QStringLiteral("SQLite"));
    gProvider = QStringLiteral("SQLite");
    dialogs.clear();
    EXPECT_EQ(firstStart(dialogs, /*iniNamed*/ true), FirstStart::Login);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(LoginTest, ClosingOptionsWithEscapeWritesNothing)
{
    auto *options = static_cast<OptionsScreen *>(ScreenRegistry::instance().show<OptionsScreen>());
    options->userNameEdit->setText(QStringLiteral("変更"));
    QTest::keyClick(options->userNameEdit, Qt::Key_Escape);
    EXPECT_FALSE(options->isVisible());
    EXPECT_FALSE(QFile::exists(gIniPath));
}
