#include "frmOrd_Imp.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "ImportRun.h"
#include "OpenMonth.h"
#include "OrderDataDelete.h"
#include "Progress.h"
#include "ShowFileOpen.h"
#include "globals.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *input(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false); // Enter is handled by the screen
    return b;
}

} // namespace

frmOrd_Imp::frmOrd_Imp(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmOrd_Imp"));
    setWindowTitle(QStringLiteral("Import"));

    auto *month = new QGroupBox(QStringLiteral("月次業務情報"), this);
    txtNen = input("txtNen", month);
    txtTuki = input("txtTuki", month);
    for (QLineEdit *edit : {txtNen, txtTuki}) {
        edit->setReadOnly(true); // the open month of the monthly register
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignCenter);
    }
    txtNen->setFixedWidth(64);
    txtTuki->setFixedWidth(44);
    auto *monthRow = new QHBoxLayout(month);
    monthRow->addWidget(txtNen);
    monthRow->addWidget(new QLabel(QStringLiteral("年"), month));
    monthRow->addSpacing(8);
    monthRow->addWidget(txtTuki);
    monthRow->addWidget(new QLabel(QStringLiteral("月"), month));
    monthRow->addStretch(1);

    txtDate = input("txtDate", this);
    txtDate->setMaxLength(8);
    txtDate->setFixedWidth(100);
    txtPath = input("txtPath", this);
    txtPath->setMinimumWidth(360);
    cmdSansyou = button(QStringLiteral("..."), "cmdSansyou", this);
    cmdSansyou->setFixedWidth(32);
    cmdOk = button(QStringLiteral("OK"), "cmdOk", this);
    cmdCancel = button(QStringLiteral("Cancel"), "cmdCancel", this);
    Command1 = button(QStringLiteral("Delete"), "Command1", this);

    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->addWidget(FormLook::caption(QStringLiteral("処理日"), this), 0, 0);
    fields->addWidget(txtDate, 0, 1, Qt::AlignLeft);
    fields->addWidget(FormLook::caption(QStringLiteral("ファイル"), this), 1, 0);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(txtPath, 1);
    pathRow->addWidget(cmdSansyou);
    fields->addLayout(pathRow, 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 12);
    body->setSpacing(10);
    body->addWidget(month);
    body->addLayout(fields);
    body->addWidget(FormLook::keyHint(QStringLiteral("Enter: 次の項目へ　Esc: 閉じる"), this));
    body->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("Import"), QString(), this));
    outer->addLayout(body);

    setTabOrder(txtDate, txtPath);
    setTabOrder(txtPath, cmdSansyou);
    setTabOrder(cmdSansyou, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, Command1);

    connect(cmdSansyou, &QPushButton::clicked, this, &frmOrd_Imp::cmdSansyou_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_Imp::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOrd_Imp::cmdCancel_Click);
    connect(Command1, &QPushButton::clicked, this, &frmOrd_Imp::Command1_Click);
    Form_Load();
}

void frmOrd_Imp::Form_Load()
{
    txtDate->setText(Clock::today().toString(QStringLiteral("yyyyMMdd")));
    std::optional<OpenMonth> month;
    bool readFailed = false;
    {
        BusyCursor busy;
        ConnectionScope connection;
        if (!connection.ok()) {
            readFailed = true;
        } else {
            try {
                month = OpenMonth::read(*gCn);
            } catch (const DbError &e) {
                appDialogs().message(e.describe(), Icon::Error);
                readFailed = true;
            }
        }
    }
    if (month) {
        txtNen->setText(month->nen);
        txtTuki->setText(month->tuki);
    } else if (!readFailed) {
        appDialogs().message(OpenMonth::notSetMessage(), Icon::Error);
    }
    // Without an open month there is no counter to number under: only Cancel and Delete.
    m_monthOpen = month.has_value();
    cmdOk->setEnabled(m_monthOpen);
    txtPath->setFocus();
}

void frmOrd_Imp::cmdSansyou_Click()
{
    QString path = txtPath->text();
    ShowFileOpen(this, path, QStringLiteral("Impport File"), QString(), QStringLiteral("txt"));
    txtPath->setText(path);
}

void frmOrd_Imp::cmdOk_Click()
{
    if (m_running || !m_monthOpen)
        return;
    setRunning(true);
    bool imported = false;
    {
        BusyCursor busy;
        ConnectionScope connection;
        if (connection.ok()) {
            const ImportRequest request{txtPath->text(), txtDate->text(), txtNen->text(),
                                        txtTuki->text(), Clock::today()};
            imported = ImportRun(*gCn, appDialogs(), appProgress()).run(request);
        }
    }
    setRunning(false);
    // A failed run keeps the screen as it was, so that path or date can be corrected.
    if (imported)
        close();
}

void frmOrd_Imp::cmdCancel_Click()
{
    close();
}

void frmOrd_Imp::Command1_Click()
{
    if (m_running)
        return;
    Dialogs &dialogs = appDialogs();
    if (!dialogs.ask(QStringLiteral("All Delete?"), Icon::Question, QString(), true))
        return;
    const auto password = dialogs.input(QStringLiteral("pass word?"));
    if (!password || *password != allDeletePassword()) {
        dialogs.message(QStringLiteral("No Match!"));
        return;
    }
    setRunning(true);
    {
        BusyCursor busy;
        ConnectionScope connection;
        if (connection.ok()) {
            try {
                ProgressScope progress(appProgress());
                deleteAllOrderData(*gCn, dialogs, appProgress());
            } catch (const DbError &e) {
                dialogs.message(e.describe(), Icon::Error);
            }
        }
    }
    setRunning(false);
}

void frmOrd_Imp::setRunning(bool running)
{
    m_running = running;
    cmdOk->setEnabled(!running && m_monthOpen);
    cmdCancel->setEnabled(!running);
    Command1->setEnabled(!running);
    cmdSansyou->setEnabled(!running);
    txtDate->setReadOnly(running);
    txtPath->setReadOnly(running);
}

void frmOrd_Imp::keyPressEvent(QKeyEvent *event)
{
    if (m_running ||
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // On a button Enter presses it; in a field it moves on (date -> file -> OK).
        if (auto *pressed = qobject_cast<QPushButton *>(focusWidget())) {
            pressed->click();
        } else if (focusWidget() == txtPath && cmdOk->isEnabled()) {
            cmdOk->setFocus();
        } else {
            focusNextChild();
        }
        return;
    case Qt::Key_Escape:
        cmdCancel_Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmOrd_Imp::closeEvent(QCloseEvent *event)
{
    // A run in progress finishes first: its transaction and the progress form belong to it.
    if (m_running) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
