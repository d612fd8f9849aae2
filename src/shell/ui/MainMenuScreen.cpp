#include "MainMenuScreen.h"

#include "BusyCursor.h"
#include "ClickableLabel.h"
#include "Clock.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "ImportDatePicker.h"
#include "Installation.h"
#include "KeyPreview.h"
#include "OpenWithMode.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {
constexpr int kVkF1 = 112;
} // namespace

MainMenuScreen::MainMenuScreen(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session)
{
    setWindowTitle(QStringLiteral("Ostera System"));

    commandEdit = new QLineEdit(this);
    commandEdit->setObjectName(QStringLiteral("commandEdit"));
    commandEdit->setPlaceholderText(QStringLiteral("メニュー番号を入れてください。"));
    commandEdit->setMaxLength(64);
    commandEdit->setFixedWidth(260);

    auto *command = new QHBoxLayout;
    command->setSpacing(10);
    command->addWidget(FormLook::caption(QStringLiteral("番号"), this));
    command->addWidget(commandEdit);
    command->addStretch(1);
    command->addWidget(
        FormLook::keyHint(QStringLiteral("Enter: 実行　F1〜F9: 1〜9番を選択"), this));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 16);
    body->setSpacing(14);
    body->addWidget(buildMenuFrame(), 1);
    body->addLayout(command);

    const QString note = QStringLiteral("担当: ") + m_session.userName() + QStringLiteral("　　") +
                         Clock::today().toString(QStringLiteral("yyyy/MM/dd"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("Ostera System"), note, this));
    outer->addLayout(body, 1);

    connect(commandEdit, &QLineEdit::returnPressed, this, &MainMenuScreen::onCommandEntered);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
    resize(760, 470);
    FormLook::centreOnScreen(this);
    initialise();
}

QWidget *MainMenuScreen::buildMenuFrame()
{
    menuFrame = new QGroupBox(this);
    menuFrame->setObjectName(QStringLiteral("menuFrame"));
    menuFrame->setStyleSheet(QStringLiteral(
        "QGroupBox#menuFrame { font-weight: bold; border: 1px solid #b8c4d2; border-radius: 4px;"
        " margin-top: 14px; padding: 14px 10px 8px 10px; background: #fbfcfe; }"
        "QGroupBox#menuFrame::title { subcontrol-origin: margin; left: 12px; padding: 0 6px;"
        " color: #1f3a5f; }"
        "ClickableLabel { font-weight: normal; padding: 3px 6px; border-radius: 3px; }"
        "ClickableLabel[hot=\"true\"] { background: #dde7f3; color: #10325a; }"
        "QLabel#entryNo { font-weight: normal; color: #1f3a5f; }"
        "QLabel#entryNo:disabled { color: #b3bcc8; }"
        "QLabel#entryKey { font-weight: normal; color: #8391a2; }"));
    auto *grid = new QGridLayout(menuFrame);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < 16; ++i) {
        const int row = i % 8;
        const int column = (i / 8) * 4;
        entryNumbers[size_t(i)] = new QLabel(QString::number(i + 1) + QLatin1Char('.'), menuFrame);
        entryNumbers[size_t(i)]->setObjectName(QStringLiteral("entryNo"));
        entryNumbers[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        entryNumbers[size_t(i)]->setMinimumWidth(30);
        entryCaptions[size_t(i)] = new ClickableLabel(menuFrame);
        entryCaptions[size_t(i)]->setMinimumWidth(230);
        auto *key = new QLabel(menuFrame);
        key->setObjectName(QStringLiteral("entryKey"));
        key->setMinimumWidth(24);
        m_keyHints[size_t(i)] = key;
        grid->addWidget(entryNumbers[size_t(i)], row, column);
        grid->addWidget(entryCaptions[size_t(i)], row, column + 1);
        grid->addWidget(key, row, column + 2);
        connect(entryCaptions[size_t(i)], &ClickableLabel::clicked, this,
                [this, i] { m_menu.clickEntry(i); });
    }
    grid->setColumnMinimumWidth(3, 24);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return menuFrame;
}

void MainMenuScreen::initialise()
{
    BusyCursor busy;
    // A failure has been reported under the title "dbOpen"; the menu still opens.
    (void)m_session.open();
    m_menu.setMenuName(QStringLiteral("Menu1.txt"));
    m_menu.setMenuDir(
        QFileInfo(Installation::dataFile(QStringLiteral("Menu1.txt"))).absolutePath() +
        QLatin1Char('/'));
    m_menu.setWindow(this);
    m_menu.showMenu(QStringLiteral("0"));
    m_menu.setWindowHandle(qintptr(effectiveWinId()));
}

void MainMenuScreen::setMenuTitle(const QString &title)
{
    menuFrame->setTitle(title);
}

void MainMenuScreen::setEntryCaption(int index, const QString &caption)
{
    if (index < 0 || index >= 16)
        return;
    const bool used = !caption.isEmpty();
    entryCaptions[size_t(index)]->setText(caption);
    entryCaptions[size_t(index)]->setCursor(used ? Qt::PointingHandCursor : Qt::ArrowCursor);
    // Unused positions keep their number, dimmed; only used ones show their function key.
    entryNumbers[size_t(index)]->setEnabled(used);
    m_keyHints[size_t(index)]->setText(used && index < 9 ? QStringLiteral("F%1").arg(index + 1)
                                                         : QString());
}

bool MainMenuScreen::onKey(QKeyEvent *event)
{
    // Function keys choose entries whatever modifier is held; F10 to F12 pass on.
    if (event->key() < Qt::Key_F1 || event->key() > Qt::Key_F9)
        return false;
    m_menu.pressFunctionKey(kVkF1 + (event->key() - Qt::Key_F1), int(event->modifiers()));
    return true;
}

void MainMenuScreen::onCommandEntered()
{
    const QString typed = commandEdit->text();
    commandEdit->clear();
    m_menu.selectTyped(typed);
}

bool MainMenuScreen::isAvailable(const ScreenRegistry::Command &command) const
{
    const ScreenRegistry &registry = ScreenRegistry::instance();
    if (command.opening == ScreenRegistry::Opening::Exit)
        return true;
    if (command.afterDatePick && !registry.has<ImportDatePicker>())
        return false;
    return registry.has(command.formName);
}

void MainMenuScreen::refuse(const QString &word)
{
    appDialogs().message(word + QStringLiteral(" そんな命令ないです。"), Icon::Error,
                         QStringLiteral("呼出しエラー"));
}

// The command words and the screens they open are the screen table's (src/AllScreens.cpp).
void MainMenuScreen::loadProcedure(const QString &word)
{
    const ScreenRegistry::Command *command = ScreenRegistry::instance().command(word);
    // A screen not built into this program answers like an unknown word.
    if (!command || !isAvailable(*command)) {
        refuse(word);
        return;
    }
    if (command->afterDatePick && !runPicker())
        return;
    run(*command, word);
}

bool MainMenuScreen::runPicker()
{
    auto *picker =
        dynamic_cast<ImportDatePicker *>(ScreenRegistry::instance().load<ImportDatePicker>());
    if (!picker)
        return false;
    picker->openModal();
    return picker->outcome() == Outcome::Done;
}

void MainMenuScreen::run(const ScreenRegistry::Command &command, const QString &word)
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    switch (command.opening) {
    case ScreenRegistry::Opening::Show:
        if (!command.preload.isEmpty())
            registry.load(command.preload);
        registry.show(command.formName);
        break;
    case ScreenRegistry::Opening::WithMode:
        if (auto *screen = dynamic_cast<OpenWithMode *>(registry.load(command.formName)))
            screen->openModal(word);
        else
            refuse(word);
        break;
    case ScreenRegistry::Opening::Modal:
        showModal(registry.load(command.formName));
        break;
    case ScreenRegistry::Opening::Exit:
        close();
        break;
    }
}

void MainMenuScreen::showModal(QWidget *screen)
{
    if (!screen)
        return;
    if (auto *dialog = qobject_cast<QDialog *>(screen)) {
        dialog->exec();
        return;
    }
    QPointer<QWidget> guard(screen);
    screen->setWindowModality(Qt::ApplicationModal);
    screen->show();
    QEventLoop loop;
    while (guard && guard->isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void MainMenuScreen::closeEvent(QCloseEvent *event)
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.closeAll(); // each screen runs its own close checks
    for (const QString &name : registry.openForms()) {
        QWidget *screen = registry.find(name);
        if (screen && screen != this && screen->isVisible()) {
            // A screen that kept itself open (the operator chose to stay) keeps the desk running.
            event->ignore();
            return;
        }
    }
    event->accept();
    QCoreApplication::quit();
}
