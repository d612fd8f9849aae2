#include "frmOrd_Print.h"

#include "BusyCursor.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "Progress.h"
#include "ReportLists.h"
#include "globals.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kNothing = QStringLiteral("Nothing");
}

frmOrd_Print::frmOrd_Print(QWidget *parent) : QDialog(parent)
{
    lblImpDate = new QLabel(QStringLiteral("処理日"), this);
    txtImpDate = new QLineEdit(this);
    txtImpDate->setObjectName(QStringLiteral("txtImpDate"));
    txtImpDate->setReadOnly(true);
    txtImpDate->setFocusPolicy(Qt::NoFocus);
    txtImpDate->setMinimumWidth(160);
    lblImpDate->setBuddy(txtImpDate);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdOk->setAutoDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *fields = new QGridLayout;
    fields->addWidget(lblImpDate, 0, 0);
    fields->addWidget(txtImpDate, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addSpacing(12);
    page->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_Print::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOrd_Print::cmdCancel_Click);
    setModal(true);
    cmdOk->setFocus();
}

void frmOrd_Print::MP_Open(const QString &mode)
{
    m_mode = mode;
    setWindowTitle(ReportLists::caption(mode));
    Form_Load();
    exec();
}

void frmOrd_Print::Form_Load()
{
    BusyCursor busy;
    if (dbOpen(0) != 0)
        return;
    try {
        const QString impDate = ReportLists::reportImpDate(*gCn);
        txtImpDate->setText(impDate.isEmpty() ? kNothing : impDate);
    } catch (const DbError &e) {
        txtImpDate->setText(kNothing);
        appDialogs().message(e.describe());
    }
    dbClose(0);
}

void frmOrd_Print::cmdOk_Click()
{
    Dialogs &dialogs = appDialogs();
    if (txtImpDate->text() == kNothing) {
        dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return;
    }
    BusyCursor busy;
    if (dbOpen(0) != 0)
        return;
    const PrintRequest request{*gCn, dialogs, appProgress(), gLPrinter};
    if (ReportLists::MF_Print(m_mode, CrDraw1, request) == 1)
        dialogs.message(QStringLiteral("失敗しました。"), Icon::Error);
    dbClose(0);
}

void frmOrd_Print::cmdCancel_Click()
{
    close();
}
