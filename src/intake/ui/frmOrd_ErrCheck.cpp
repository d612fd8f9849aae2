#include "frmOrd_ErrCheck.h"

#include "BusyCursor.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "OrderCheck.h"
#include "Progress.h"
#include "globals.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmOrd_ErrCheck::frmOrd_ErrCheck(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("エラー処理実行"));
    frame = new QGroupBox(this);
    txtImpDate = new QLineEdit(frame);
    txtImpDate->setObjectName(QStringLiteral("txtImpDate"));
    txtImpDate->setReadOnly(true); // the date picked before; the check runs for gImpDate
    auto *dateRow = new QHBoxLayout(frame);
    dateRow->addWidget(new QLabel(QStringLiteral("処理日"), frame));
    dateRow->addWidget(txtImpDate);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_ErrCheck::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOrd_ErrCheck::cmdCancel_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedSize(320, 130);
    cmdOk->setFocus();
}

bool frmOrd_ErrCheck::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        txtImpDate->setText(gImpDate);
    return QWidget::event(event);
}

void frmOrd_ErrCheck::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!cmdCancel->hasFocus()) {
            cmdOk_Click();
            return;
        }
        cmdCancel_Click();
        return;
    case Qt::Key_Escape:
        cmdCancel_Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmOrd_ErrCheck::cmdOk_Click()
{
    Dialogs &dialogs = appDialogs();
    {
        BusyCursor busy;
        // Without a connection there is nothing to check; dbOpen has told the operator.
        if (dbOpen(0) != 0 || !gCn)
            return;
        if (MF_OrderCheck(*gCn, dialogs, appProgress(), gImpDate))
            dialogs.message(QStringLiteral("エラーチェック中にエラーが発生しました。"),
                            Icon::Error);
        dbClose(0);
    }
    dialogs.message(QStringLiteral("完了しました。"));
    close();
}

void frmOrd_ErrCheck::cmdCancel_Click()
{
    close();
}
