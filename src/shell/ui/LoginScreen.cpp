#include "LoginScreen.h"

#include "Dialogs.h"
#include "FormLook.h"
#include "Installation.h"
#include "KeyPreview.h"
#include "MainMenuScreen.h"
#include "OptionsScreen.h"
#include "ScreenRegistry.h"
#include "Session.h"
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

LoginScreen::LoginScreen(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session)
{
    setWindowTitle(QStringLiteral("ログイン"));

    userNameEdit = new QLineEdit(this);
    userNameEdit->setObjectName(QStringLiteral("userNameEdit"));
    userNameEdit->setMinimumWidth(220);
    okButton = new QPushButton(QStringLiteral("ok"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setMinimumWidth(88);
    cancelButton = new QPushButton(QStringLiteral("cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setMinimumWidth(88);
    versionLabel = new QLabel(this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    versionLabel->setStyleSheet(QStringLiteral("color: #5a6a7e;"));

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(12);
    form->addWidget(FormLook::caption(QStringLiteral("ユーザ名"), this), 0, 0);
    form->addWidget(userNameEdit, 0, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    form->addLayout(buttons, 1, 1, 1, 2);

    auto *footer = new QHBoxLayout;
    footer->addWidget(FormLook::keyHint(QStringLiteral("F10 オプション設定"), this));
    footer->addStretch(1);
    footer->addWidget(versionLabel);

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

    connect(okButton, &QPushButton::clicked, this, &LoginScreen::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &LoginScreen::onCancel);
    connect(userNameEdit, &QLineEdit::returnPressed, this, &LoginScreen::onOk);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });

    setFixedSize(sizeHint().expandedTo(QSize(400, 0)));
    FormLook::centreOnScreen(this);
    initialise();
}

void LoginScreen::initialise()
{
    versionLabel->setText(gVersion);
    userNameEdit->setText(m_session.userName());
    userNameEdit->selectAll();
}

void LoginScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The folder messages come once the window is up, so the operator sees where they belong.
    if (!m_checked) {
        m_checked = true;
        QTimer::singleShot(0, this, &LoginScreen::checkFolders);
    }
}

void LoginScreen::checkFolders()
{
    if (checkOutputFolders() != Outcome::Done)
        appDialogs().message(QStringLiteral("パス設定に誤りがありました。\n"
                                            "オプション画面(F10)を開き設定を行ってください。"));
}

Outcome LoginScreen::checkOutputFolders()
{
    const OutputFolders &set = m_session.folderSettings();
    const Folder folders[] = {{&set.car, u"生産C"},
                              {&set.kak, u"確認版下"},
                              {&set.han, u"指示版下"},
                              {&set.stk, u"ロットシール"},
                              {&set.sht, u"ロットシート"}};
    Outcome result = Outcome::Done;
    for (const Folder &folder : folders) {
        const QString name = QString::fromUtf16(folder.name);
        if (folder.path->isEmpty()) {
            appDialogs().message(name + QStringLiteral("パスが未設定です。"), Icon::Error);
            result = Outcome::Refused;
        } else if (!QFileInfo(Installation::folderPath(*folder.path)).isDir()) {
            // A file of that name is no place to write the output files into.
            appDialogs().message(name + QStringLiteral("パスが通っていません。"), Icon::Error);
            result = Outcome::Refused;
        }
    }
    return result;
}

void LoginScreen::onOk()
{
    if (userNameEdit->text().isEmpty()) {
        appDialogs().message(QStringLiteral("ユーザ名を入れてください。"));
        userNameEdit->setFocus();
        return;
    }
    m_session.setUserName(userNameEdit->text());
    ScreenRegistry::instance().show<MainMenuScreen>();
    close();
}

void LoginScreen::onCancel()
{
    close();
}

bool LoginScreen::onKey(QKeyEvent *event)
{
    const bool plain =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (!plain)
        return false;
    switch (event->key()) {
    case Qt::Key_F10:
        ScreenRegistry::instance().show<OptionsScreen>();
        close();
        return true;
    case Qt::Key_Escape:
        onCancel();
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
