#include "RecheckScreen.h"

#include "BusyCursor.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "OrderCheck.h"
#include "Progress.h"
#include "Session.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

RecheckScreen::RecheckScreen(Session &session, QWidget *parent)
    : QWidget(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("エラー処理実行"));
    frame = new QGroupBox(this);
    importDateEdit = new QLineEdit(frame);
    importDateEdit->setObjectName(QStringLiteral("importDateEdit"));
    importDateEdit->setReadOnly(
        true); // the date picked before; the check runs for m_session.importDate()
    auto *dateRow = new QHBoxLayout(frame);
    dateRow->addWidget(new QLabel(QStringLiteral("処理日"), frame));
    dateRow->addWidget(importDateEdit);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &RecheckScreen::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &RecheckScreen::onCancel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedSize(320, 130);
    okButton->setFocus();
}

bool RecheckScreen::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        importDateEdit->setText(m_session.importDate());
    return QWidget::event(event);
}

void RecheckScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!cancelButton->hasFocus()) {
            onOk();
            return;
        }
        onCancel();
        return;
    case Qt::Key_Escape:
        onCancel();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void RecheckScreen::onOk()
{
    Dialogs &dialogs = appDialogs();
    QString done = QStringLiteral("完了しました。");
    {
        BusyCursor busy;
        // Without a connection there is nothing to check; dbOpen has told the operator.
        if (m_session.open() != Outcome::Done || !m_session.db())
            return;
        if (checkDay(*m_session.db(), dialogs, appProgress(), m_session.importDate()) !=
            Outcome::Done)
            dialogs.message(QStringLiteral("エラーチェック中にエラーが発生しました。"),
                            Icon::Error);
        done = recheckDoneMessage(*m_session.db(), m_session.importDate());
        m_session.close();
    }
    dialogs.message(done);
    close();
}

void RecheckScreen::onCancel()
{
    close();
}
