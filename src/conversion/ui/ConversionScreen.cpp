#include "ConversionScreen.h"

#include "BusyCursor.h"
#include "ConnectionScope.h"
#include "ConversionCancel.h"
#include "ConversionRun.h"
#include "Db.h"
#include "Dialogs.h"
#include "Progress.h"
#include "Session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QComboBox *editableCombo(const QString &name)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

ConversionScreen::ConversionScreen(Session &session, QWidget *parent)
    : DayRunScreen(session, QStringLiteral("変換"), parent)
{
    buildControls();
    initialise();
}

void ConversionScreen::buildControls()
{
    setDateFromCombo = editableCombo(QStringLiteral("setDateFromCombo"));
    setDateToCombo = editableCombo(QStringLiteral("setDateToCombo"));
    specialCombo = editableCombo(QStringLiteral("specialCombo"));

    auto *machine = new QGroupBox(QStringLiteral("生産機種"));
    auto *machineLayout = new QHBoxLayout(machine);
    const QString captions[3] = {QStringLiteral("指定無し"), QStringLiteral("熱転写"),
                                 QStringLiteral("凸版")};
    for (int i = 0; i < 3; ++i) {
        machineButtons[i] = new QRadioButton(captions[i]);
        machineButtons[i]->setObjectName(QStringLiteral("machineButton%1").arg(i));
        machineLayout->addWidget(machineButtons[i]);
    }

    cancelRunButton = button(QStringLiteral("cancelRunButton"), QStringLiteral("前回変換Cancel"));
    connect(cancelRunButton, &QPushButton::clicked, this, &ConversionScreen::onCancelRun);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("処理日")), 0, 0);
    grid->addWidget(importDateEdit, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("セット日")), 1, 0);
    auto *range = new QHBoxLayout;
    range->addWidget(setDateFromCombo);
    range->addWidget(new QLabel(QStringLiteral("～")));
    range->addWidget(setDateToCombo);
    grid->addLayout(range, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("特定変換")), 2, 0);
    grid->addWidget(specialCombo, 2, 1);
    grid->addWidget(machine, 3, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cancelRunButton);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(setDateFromCombo, setDateToCombo);
    setTabOrder(setDateToCombo, specialCombo);
    setTabOrder(specialCombo, machineButtons[0]);
    setTabOrder(machineButtons[0], okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, cancelRunButton);
}

void ConversionScreen::initialise()
{
    BusyCursor busy;
    {
        ConnectionScope connection(m_session);
        if (connection.ok())
            fillLists();
    }
    machineButtons[0]->setChecked(true);
    setDateFromCombo->setFocus();
}

void ConversionScreen::fillLists()
{
    try {
        for (const QString &date :
             ConversionRun::setDates(*m_session.db(), m_session.importDate())) {
            setDateFromCombo->addItem(date);
            setDateToCombo->addItem(date);
        }
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
    }
    specialCombo->addItem(QStringLiteral("0"));
    specialCombo->addItem(QStringLiteral("1"));
    // The lists offer values; the operator's conditions start empty.
    setDateFromCombo->setCurrentIndex(-1);
    setDateToCombo->setCurrentIndex(-1);
    specialCombo->setCurrentIndex(-1);
}

void ConversionScreen::onOk()
{
    ConversionInput input;
    input.impDate = importDateEdit->text();
    input.setDateFrom = setDateFromCombo->currentText();
    input.setDateTo = setDateToCombo->currentText();
    input.special = specialCombo->currentText();
    input.machine = machineButtons[1]->isChecked()   ? Machine::Thermal
                    : machineButtons[2]->isChecked() ? Machine::Letterpress
                                                     : Machine::Any;
    ConversionResult result;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok())
            return;
        ConversionRun run(*m_session.db(), appDialogs(), appProgress(), m_session.outputFolders());
        result = run.run(input);
        if (!result.condition.isEmpty())
            m_session.setOrderCondition(result.condition);
    }
    if (!result.converted())
        return;
    appDialogs().message(result.report(), Icon::Information, QStringLiteral("終了"));
    appDialogs().message(QStringLiteral("完了です。"));
    close();
}

void ConversionScreen::onCancelRun()
{
    Outcome outcome = Outcome::Failed;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok())
            return;
        ConversionCancel cancel(*m_session.db(), appDialogs(), appProgress());
        outcome = cancel.run(importDateEdit->text());
    }
    if (outcome == Outcome::Done)
        close();
}
