#include "ConfirmationScreen.h"

#include "BusyCursor.h"
#include "Confirmation.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "Progress.h"
#include "Session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *shownValue(const QString &name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

ConfirmationScreen::ConfirmationScreen(Session &session, QWidget *parent)
    : DayRunScreen(session, QStringLiteral("確定"), parent)
{
    buildControls();
    initialise();
}

void ConfirmationScreen::buildControls()
{
    totalEdit = shownValue(QStringLiteral("totalEdit"));
    convertedEdit = shownValue(QStringLiteral("convertedEdit"));
    unconvertedEdit = shownValue(QStringLiteral("unconvertedEdit"));

    auto *grid = new QGridLayout;
    const QList<std::pair<QString, QLineEdit *>> rows = {
        {QStringLiteral("処理日"), importDateEdit},
        {QStringLiteral("合計"), totalEdit},
        {QStringLiteral("変換済み"), convertedEdit},
        {QStringLiteral("未変換"), unconvertedEdit}};
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows[i].first), i, 0);
        grid->addWidget(rows[i].second, i, 1);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setTabOrder(okButton, cancelButton);
}

void ConfirmationScreen::initialise()
{
    BusyCursor busy;
    totalEdit->setText(QStringLiteral("0"));
    convertedEdit->setText(QStringLiteral("0"));
    unconvertedEdit->setText(QStringLiteral("0"));
    ConnectionScope connection(m_session);
    if (connection.ok()) {
        try {
            const ConfirmationCounts counts =
                Confirmation::counts(*m_session.db(), m_session.importDate());
            totalEdit->setText(QString::number(counts.total));
            convertedEdit->setText(QString::number(counts.converted));
            unconvertedEdit->setText(QString::number(counts.unconverted));
        } catch (const DbError &e) {
            appDialogs().message(e.describe(), Icon::Error);
        }
    }
    okButton->setFocus();
}

void ConfirmationScreen::onOk()
{
    ConfirmationCounts shown;
    shown.total = totalEdit->text().toInt();
    shown.converted = convertedEdit->text().toInt();
    shown.unconverted = unconvertedEdit->text().toInt();
    const QString impDate = importDateEdit->text();
    Outcome outcome = Outcome::Failed;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok())
            return;
        Confirmation confirmation(*m_session.db(), appDialogs(), appProgress());
        outcome = confirmation.run(impDate, shown);
    }
    if (outcome != Outcome::Done)
        return;
    m_session.setOrderCondition(Confirmation::condition(impDate));
    close();
}
