#include "PrintScreen.h"

#include "BusyCursor.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "Progress.h"
#include "ReportLists.h"
#include "Session.h"

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

PrintScreen::PrintScreen(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    importDateLabel = new QLabel(QStringLiteral("処理日"), this);
    importDateEdit = new QLineEdit(this);
    importDateEdit->setObjectName(QStringLiteral("importDateEdit"));
    importDateEdit->setReadOnly(true);
    importDateEdit->setFocusPolicy(Qt::NoFocus);
    importDateEdit->setMinimumWidth(160);
    importDateLabel->setBuddy(importDateEdit);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    runLabel = new QLabel(this);
    runLabel->setObjectName(QStringLiteral("runLabel"));
    runLabel->setWordWrap(true);

    auto *fields = new QGridLayout;
    fields->addWidget(importDateLabel, 0, 0);
    fields->addWidget(importDateEdit, 0, 1);
    fields->addWidget(runLabel, 1, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addSpacing(12);
    page->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &PrintScreen::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &PrintScreen::onCancel);
    setModal(true);
    okButton->setFocus();
}

void PrintScreen::openModal(const QString &mode)
{
    m_mode = mode;
    setWindowTitle(ReportLists::caption(mode));
    initialise();
    exec();
}

void PrintScreen::initialise()
{
    BusyCursor busy;
    if (m_session.open() != Outcome::Done)
        return;
    try {
        const auto run = ReportLists::reportRun(*m_session.db());
        importDateEdit->setText(run ? run->impDate : kNothing);
        runLabel->setText(run ? ReportLists::describeRun(*run) : QString());
    } catch (const DbError &e) {
        importDateEdit->setText(kNothing);
        runLabel->clear();
        appDialogs().message(e.text());
    }
    m_session.close();
}

void PrintScreen::onOk()
{
    Dialogs &dialogs = appDialogs();
    if (importDateEdit->text() == kNothing) {
        dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return;
    }
    BusyCursor busy;
    if (m_session.open() != Outcome::Done)
        return;
    const PrintRequest request{*m_session.db(), dialogs, appProgress(), m_session.listPrinter()};
    if (ReportLists::print(m_mode, reportEngine, request) != Outcome::Done)
        dialogs.message(QStringLiteral("失敗しました。"), Icon::Error);
    m_session.close();
}

void PrintScreen::onCancel()
{
    close();
}
