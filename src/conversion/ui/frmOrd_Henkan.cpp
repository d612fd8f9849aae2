#include "frmOrd_Henkan.h"

#include "BusyCursor.h"
#include "ConversionCancel.h"
#include "ConversionRun.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "Progress.h"
#include "globals.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// dbOpen(0) for the length of a click, dbClose(0) on every path.
class OpenConnection {
public:
    OpenConnection() : m_ok(dbOpen(0) == 0) {}
    ~OpenConnection() { dbClose(0); }
    bool ok() const { return m_ok; }

private:
    bool m_ok;
};

QComboBox *editableCombo(const QString &name)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QPushButton *button(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(true); // Enter presses the button that has the focus
    return b;
}
} // namespace

frmOrd_Henkan::frmOrd_Henkan(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmOrd_Henkan"));
    setWindowTitle(QStringLiteral("変換"));
    buildControls();
    Form_Load();
}

void frmOrd_Henkan::buildControls()
{
    txtImpDate = new QLineEdit;
    txtImpDate->setObjectName(QStringLiteral("txtImpDate"));
    txtImpDate->setReadOnly(true);
    txtImpDate->setFocusPolicy(Qt::NoFocus);
    cmbSetDate1 = editableCombo(QStringLiteral("cmbSetDate1"));
    cmbSetDate2 = editableCombo(QStringLiteral("cmbSetDate2"));
    cmbFlg5 = editableCombo(QStringLiteral("cmbFlg5"));

    auto *machine = new QGroupBox(QStringLiteral("生産機種"));
    auto *machineLayout = new QHBoxLayout(machine);
    const QString captions[3] = {QStringLiteral("指定無し"), QStringLiteral("熱転写"),
                                 QStringLiteral("凸版")};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(captions[i]);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        machineLayout->addWidget(Option1[i]);
    }

    cmdOk = button(QStringLiteral("cmdOk"), QStringLiteral("OK"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdHenCancel = button(QStringLiteral("cmdHenCancel"), QStringLiteral("前回変換Cancel"));
    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_Henkan::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdHenCancel, &QPushButton::clicked, this, &frmOrd_Henkan::cmdHenCancel_Click);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("処理日")), 0, 0);
    grid->addWidget(txtImpDate, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("セット日")), 1, 0);
    auto *range = new QHBoxLayout;
    range->addWidget(cmbSetDate1);
    range->addWidget(new QLabel(QStringLiteral("～")));
    range->addWidget(cmbSetDate2);
    grid->addLayout(range, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("特定変換")), 2, 0);
    grid->addWidget(cmbFlg5, 2, 1);
    grid->addWidget(machine, 3, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdHenCancel);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(cmbSetDate1, cmbSetDate2);
    setTabOrder(cmbSetDate2, cmbFlg5);
    setTabOrder(cmbFlg5, Option1[0]);
    setTabOrder(Option1[0], cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdHenCancel);
}

void frmOrd_Henkan::Form_Load()
{
    BusyCursor busy;
    {
        OpenConnection connection;
        if (connection.ok())
            PP_ComboSet();
    }
    Option1[0]->setChecked(true);
    cmbSetDate1->setFocus();
}

void frmOrd_Henkan::PP_ComboSet()
{
    try {
        for (const QString &date : ConversionRun::setDates(*gCn, gImpDate)) {
            cmbSetDate1->addItem(date);
            cmbSetDate2->addItem(date);
        }
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
    }
    cmbFlg5->addItem(QStringLiteral("0"));
    cmbFlg5->addItem(QStringLiteral("1"));
    // The lists offer values; the operator's conditions start empty.
    cmbSetDate1->setCurrentIndex(-1);
    cmbSetDate2->setCurrentIndex(-1);
    cmbFlg5->setCurrentIndex(-1);
}

void frmOrd_Henkan::Form_Activate()
{
    txtImpDate->setText(gImpDate);
}

bool frmOrd_Henkan::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        Form_Activate();
    return QWidget::event(event);
}

void frmOrd_Henkan::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmOrd_Henkan::cmdOk_Click()
{
    ConversionInput input;
    input.impDate = txtImpDate->text();
    input.setDateFrom = cmbSetDate1->currentText();
    input.setDateTo = cmbSetDate2->currentText();
    input.special = cmbFlg5->currentText();
    input.machine = Option1[1]->isChecked()   ? Machine::Thermal
                    : Option1[2]->isChecked() ? Machine::Letterpress
                                              : Machine::Any;
    ConversionResult result;
    {
        BusyCursor busy;
        OpenConnection connection;
        if (!connection.ok())
            return;
        ConversionRun run(*gCn, appDialogs(), appProgress(), OutputFolders::fromGlobals());
        result = run.run(input);
        if (!result.condition.isEmpty())
            gWhere = result.condition;
    }
    if (!result.converted())
        return;
    appDialogs().message(result.report(), Icon::Information, QStringLiteral("終了"));
    appDialogs().message(QStringLiteral("完了です。"));
    close();
}

void frmOrd_Henkan::cmdHenCancel_Click()
{
    bool cancelled = false;
    {
        BusyCursor busy;
        OpenConnection connection;
        if (!connection.ok())
            return;
        ConversionCancel cancel(*gCn, appDialogs(), appProgress());
        cancelled = cancel.run(txtImpDate->text());
    }
    if (cancelled)
        close();
}
