#include "frm_main.h"

#include "BusyCursor.h"
#include "ClickableLabel.h"
#include "Clock.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "ImpDatePicker.h"
#include "Installation.h"
#include "KeyPreview.h"
#include "OpenWithMode.h"
#include "ScreenRegistry.h"
#include "globals.h"

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
const QString kPicker = QStringLiteral("frmImpDate");
const QString kFind = QStringLiteral("frmOrd_Find");
constexpr int kVkF1 = 112;
} // namespace

// What a command word of the menu does. Words are compared exactly, letter case included.
struct frm_main::CommandWord {
    enum Action { Show, OrderEdit, PrintMode, Modal, Exit };
    QString word;
    bool picker;
    Action action;
    QString form;
};

const QList<frm_main::CommandWord> &frm_main::commandTable()
{
    static const QList<CommandWord> table = {
        {QStringLiteral("FileImport"), false, CommandWord::Show, QStringLiteral("frmOrd_Imp")},
        {QStringLiteral("OrderEdit"), true, CommandWord::OrderEdit, QStringLiteral("frmOrd_Edit")},
        {QStringLiteral("OrderHenkan"), true, CommandWord::Show, QStringLiteral("frmOrd_Henkan")},
        {QStringLiteral("OrderKakutei"), true, CommandWord::Show, QStringLiteral("frmOrd_Kakutei")},
        {QStringLiteral("ErrView"), true, CommandWord::Show, QStringLiteral("frmOrd_ErrView")},
        {QStringLiteral("ErrAction"), true, CommandWord::Show, QStringLiteral("frmOrd_ErrCheck")},
        {QStringLiteral("SoseiHanCheck"), true, CommandWord::Show,
         QStringLiteral("frmHan_SoseiCheck")},
        {QStringLiteral("SizeHanCheck"), true, CommandWord::Show,
         QStringLiteral("frmHan_SizeCheck")},
        {QStringLiteral("OrderList"), false, CommandWord::PrintMode,
         QStringLiteral("frmOrd_Print")},
        {QStringLiteral("CarList"), false, CommandWord::PrintMode, QStringLiteral("frmOrd_Print")},
        {QStringLiteral("TotalList"), false, CommandWord::PrintMode,
         QStringLiteral("frmOrd_Print")},
        {QStringLiteral("MST_QUL"), false, CommandWord::Show, QStringLiteral("frmMst_Qul")},
        {QStringLiteral("MST_FACTORY"), false, CommandWord::Show, QStringLiteral("frmMst_Fc")},
        {QStringLiteral("MST_CAR"), false, CommandWord::Show, QStringLiteral("frmMst_Car")},
        {QStringLiteral("MST_TARVOLIN_SIZE"), false, CommandWord::Show,
         QStringLiteral("frmMst_TarvolinSize")},
        {QStringLiteral("TUKI_SYORI"), false, CommandWord::Modal, QStringLiteral("frmTukiSyori")},
        {QStringLiteral("App_Exit"), false, CommandWord::Exit, QString()},
        {QStringLiteral("OrdSansyou"), false, CommandWord::Show, QStringLiteral("frmOrd_Sansyou")},
        {QStringLiteral("RunHistory"), false, CommandWord::Show, QStringLiteral("frmRunHistory")},
    };
    return table;
}

frm_main::frm_main(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Ostera System"));

    txtCmd = new QLineEdit(this);
    txtCmd->setObjectName(QStringLiteral("txtCmd"));
    txtCmd->setPlaceholderText(QStringLiteral("メニュー番号を入れてください。"));
    txtCmd->setMaxLength(64);
    txtCmd->setFixedWidth(260);

    auto *command = new QHBoxLayout;
    command->setSpacing(10);
    command->addWidget(FormLook::caption(QStringLiteral("番号"), this));
    command->addWidget(txtCmd);
    command->addStretch(1);
    command->addWidget(
        FormLook::keyHint(QStringLiteral("Enter: 実行　F1〜F9: 1〜9番を選択"), this));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(18, 14, 18, 16);
    body->setSpacing(14);
    body->addWidget(buildMenuFrame(), 1);
    body->addLayout(command);

    const QString note = QStringLiteral("担当: ") + gUserName + QStringLiteral("　　") +
                         Clock::today().toString(QStringLiteral("yyyy/MM/dd"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("Ostera System"), note, this));
    outer->addLayout(body, 1);

    connect(txtCmd, &QLineEdit::returnPressed, this, &frm_main::txtCmd_Enter);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
    resize(760, 470);
    FormLook::centreOnScreen(this);
    Form_Load();
}

QWidget *frm_main::buildMenuFrame()
{
    framMenu = new QGroupBox(this);
    framMenu->setObjectName(QStringLiteral("framMenu"));
    framMenu->setStyleSheet(QStringLiteral(
        "QGroupBox#framMenu { font-weight: bold; border: 1px solid #b8c4d2; border-radius: 4px;"
        " margin-top: 14px; padding: 14px 10px 8px 10px; background: #fbfcfe; }"
        "QGroupBox#framMenu::title { subcontrol-origin: margin; left: 12px; padding: 0 6px;"
        " color: #1f3a5f; }"
        "ClickableLabel { font-weight: normal; padding: 3px 6px; border-radius: 3px; }"
        "ClickableLabel[hot=\"true\"] { background: #dde7f3; color: #10325a; }"
        "QLabel#entryNo { font-weight: normal; color: #1f3a5f; }"
        "QLabel#entryNo:disabled { color: #b3bcc8; }"
        "QLabel#entryKey { font-weight: normal; color: #8391a2; }"));
    auto *grid = new QGridLayout(framMenu);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < 16; ++i) {
        const int row = i % 8;
        const int column = (i / 8) * 4;
        Label1[size_t(i)] = new QLabel(QString::number(i + 1) + QLatin1Char('.'), framMenu);
        Label1[size_t(i)]->setObjectName(QStringLiteral("entryNo"));
        Label1[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Label1[size_t(i)]->setMinimumWidth(30);
        xlabMenu[size_t(i)] = new ClickableLabel(framMenu);
        xlabMenu[size_t(i)]->setMinimumWidth(230);
        auto *key = new QLabel(framMenu);
        key->setObjectName(QStringLiteral("entryKey"));
        key->setMinimumWidth(24);
        m_keyHints[size_t(i)] = key;
        grid->addWidget(Label1[size_t(i)], row, column);
        grid->addWidget(xlabMenu[size_t(i)], row, column + 1);
        grid->addWidget(key, row, column + 2);
        connect(xlabMenu[size_t(i)], &ClickableLabel::clicked, this,
                [this, i] { m_menu.cmdClick(i); });
    }
    grid->setColumnMinimumWidth(3, 24);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return framMenu;
}

void frm_main::Form_Load()
{
    BusyCursor busy;
    dbOpen(0); // its failure has been reported under the title "dbOpen"; the menu still opens
    m_menu.setMenuName(QStringLiteral("Menu1.txt"));
    m_menu.setMenuDir(
        QFileInfo(Installation::dataFile(QStringLiteral("Menu1.txt"))).absolutePath() +
        QLatin1Char('/'));
    m_menu.setObjForm(this);
    m_menu.showMenu(QStringLiteral("0"));
    m_menu.setFrmhWnd(qintptr(effectiveWinId()));
}

void frm_main::setMenuTitle(const QString &title)
{
    framMenu->setTitle(title);
}

void frm_main::setEntryCaption(int index, const QString &caption)
{
    if (index < 0 || index >= 16)
        return;
    const bool used = !caption.isEmpty();
    xlabMenu[size_t(index)]->setText(caption);
    xlabMenu[size_t(index)]->setCursor(used ? Qt::PointingHandCursor : Qt::ArrowCursor);
    // Unused positions keep their number, dimmed; only used ones show their function key.
    Label1[size_t(index)]->setEnabled(used);
    m_keyHints[size_t(index)]->setText(used && index < 9 ? QStringLiteral("F%1").arg(index + 1)
                                                         : QString());
}

bool frm_main::onKey(QKeyEvent *event)
{
    // Function keys choose entries whatever modifier is held; F10 to F12 pass on.
    if (event->key() < Qt::Key_F1 || event->key() > Qt::Key_F9)
        return false;
    m_menu.FunctionKey(kVkF1 + (event->key() - Qt::Key_F1), int(event->modifiers()));
    return true;
}

void frm_main::txtCmd_Enter()
{
    const QString typed = txtCmd->text();
    txtCmd->clear();
    m_menu.MenuSelect(typed);
}

bool frm_main::isAvailable(const CommandWord &command) const
{
    const ScreenRegistry &registry = ScreenRegistry::instance();
    if (command.action == CommandWord::Exit)
        return true;
    if (command.picker && !registry.has(kPicker))
        return false;
    return registry.has(command.form);
}

void frm_main::refuse(const QString &word)
{
    appDialogs().message(word + QStringLiteral(" そんな命令ないです。"), Icon::Error,
                         QStringLiteral("呼出しエラー"));
}

void frm_main::loadProcedure(const QString &hikiPName)
{
    for (const CommandWord &command : commandTable()) {
        if (command.word != hikiPName)
            continue;
        // A screen not built into this program answers like an unknown word.
        if (!isAvailable(command))
            break;
        if (command.picker && !runPicker())
            return;
        run(command, hikiPName);
        return;
    }
    refuse(hikiPName);
}

bool frm_main::runPicker()
{
    auto *picker = dynamic_cast<ImpDatePicker *>(ScreenRegistry::instance().load(kPicker));
    if (!picker)
        return false;
    picker->MP_Open();
    return picker->m_cancel() == 0;
}

void frm_main::run(const CommandWord &command, const QString &word)
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    switch (command.action) {
    case CommandWord::Show:
        registry.show(command.form);
        break;
    case CommandWord::OrderEdit:
        // The find dialog is loaded first so that the edit screen's F4 finds it ready.
        registry.load(kFind);
        registry.show(command.form);
        break;
    case CommandWord::PrintMode:
        if (auto *screen = dynamic_cast<OpenWithMode *>(registry.load(command.form)))
            screen->MP_Open(word);
        else
            refuse(word);
        break;
    case CommandWord::Modal:
        showModal(registry.load(command.form));
        break;
    case CommandWord::Exit:
        close();
        break;
    }
}

void frm_main::showModal(QWidget *screen)
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

void frm_main::closeEvent(QCloseEvent *event)
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
