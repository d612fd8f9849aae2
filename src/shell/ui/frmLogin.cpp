#include "frmLogin.h"

#include "Dialogs.h"
#include "FormLook.h"
#include "Installation.h"
#include "KeyPreview.h"
#include "ScreenRegistry.h"
#include "globals.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
struct Folder {
    const QString *path;
    const char16_t *name;
};
} // namespace

frmLogin::frmLogin(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("ログイン"));

    txtLogIn = new QLineEdit(this);
    txtLogIn->setObjectName(QStringLiteral("txtLogIn"));
    txtLogIn->setMinimumWidth(220);
    cmdOK = new QPushButton(QStringLiteral("ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setMinimumWidth(88);
    cmdCancel = new QPushButton(QStringLiteral("cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setMinimumWidth(88);
    lblVer = new QLabel(this);
    lblVer->setObjectName(QStringLiteral("lblVer"));
    lblVer->setStyleSheet(QStringLiteral("color: #5a6a7e;"));

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(12);
    form->addWidget(FormLook::caption(QStringLiteral("ユーザ名"), this), 0, 0);
    form->addWidget(txtLogIn, 0, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    form->addLayout(buttons, 1, 1, 1, 2);

    auto *footer = new QHBoxLayout;
    footer->addWidget(FormLook::keyHint(QStringLiteral("F10 オプション設定"), this));
    footer->addStretch(1);
    footer->addWidget(lblVer);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(24, 20, 24, 14);
    body->setSpacing(16);
    body->addLayout(form);
    body->addLayout(footer);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(
        FormLook::titleBand(QStringLiteral("ostera system"), QStringLiteral("受注処理"), this));
    outer->addLayout(body);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    connect(txtLogIn, &QLineEdit::returnPressed, this, &frmLogin::cmdOK_Click);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });

    setFixedSize(sizeHint().expandedTo(QSize(400, 0)));
    FormLook::centreOnScreen(this);
    Form_Load();
}

void frmLogin::Form_Load()
{
    lblVer->setText(gVersion);
    txtLogIn->setText(gUserName);
    txtLogIn->selectAll();
}

void frmLogin::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The folder messages come once the window is up, so the operator sees where they belong.
    if (!m_checked) {
        m_checked = true;
        QTimer::singleShot(0, this, &frmLogin::checkFolders);
    }
}

void frmLogin::checkFolders()
{
    if (PF_PathCheck() == 1)
        appDialogs().message(QStringLiteral("パス設定に誤りがありました。\n"
                                            "オプション画面(F10)を開き設定を行ってください。"));
}

int frmLogin::PF_PathCheck()
{
    const Folder folders[] = {{&gCarDir, u"生産C"},
                              {&gKakDir, u"確認版下"},
                              {&gHanDir, u"指示版下"},
                              {&gStkDir, u"ロットシール"},
                              {&gShtDir, u"ロットシート"}};
    int result = 0;
    for (const Folder &folder : folders) {
        const QString name = QString::fromUtf16(folder.name);
        if (folder.path->isEmpty()) {
            appDialogs().message(name + QStringLiteral("パスが未設定です。"), Icon::Error);
            result = 1;
        } else if (!QFileInfo(Installation::folderPath(*folder.path)).isDir()) {
            // A file of that name is no place to write the output files into.
            appDialogs().message(name + QStringLiteral("パスが通っていません。"), Icon::Error);
            result = 1;
        }
    }
    return result;
}

void frmLogin::cmdOK_Click()
{
    if (txtLogIn->text().isEmpty()) {
        appDialogs().message(QStringLiteral("ユーザ名を入れてください。"));
        txtLogIn->setFocus();
        return;
    }
    gUserName = txtLogIn->text();
    ScreenRegistry::instance().show(QStringLiteral("frm_main"));
    close();
}

void frmLogin::cmdCancel_Click()
{
    close();
}

bool frmLogin::onKey(QKeyEvent *event)
{
    const bool plain =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (!plain)
        return false;
    switch (event->key()) {
    case Qt::Key_F10:
        ScreenRegistry::instance().show(QStringLiteral("frmOption"));
        close();
        return true;
    case Qt::Key_Escape:
        cmdCancel_Click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget())) {
            button->click();
            return true;
        }
        return false;
    default:
        return false;
    }
}
