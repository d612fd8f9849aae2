#include "BulkUpdateDialog.h"

#include "BusyCursor.h"
#include "ConnectionScope.h"
#include "CriterionCombo.h"
#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "GridScreen.h"
#include "KeyPreview.h"
#include "OrderBulkUpdate.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

class OrderEditScreen;

BulkUpdateDialog::BulkUpdateDialog(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session), m_printers(new QStandardItemModel(0, 2, this))
{
    setWindowTitle(QStringLiteral("更新"));
    buildControls();
    new KeyPreview(this, [this](QKeyEvent *e) { return CriterionCombo::enterMovesOn(this, e); });
    initialise();
}

void BulkUpdateDialog::buildControls()
{
    setDateCombo = CriterionCombo::create(QStringLiteral("setDateCombo"), this);
    printerCombo = CriterionCombo::create(QStringLiteral("printerCombo"), this);
    dataKindEdit = new QLineEdit(this);
    dataKindEdit->setObjectName(QStringLiteral("dataKindEdit"));
    dataKindEdit->setReadOnly(true); // the flag of the model chosen from the list
    dataKindEdit->setFocusPolicy(Qt::NoFocus);
    dataKindEdit->setFixedWidth(36);
    specialCombo = CriterionCombo::create(QStringLiteral("specialCombo"), this);

    // The list shows the model and its flag side by side.
    auto *list = new QTableView(printerCombo);
    list->horizontalHeader()->hide();
    list->verticalHeader()->hide();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setShowGrid(false);
    printerCombo->setModel(m_printers);
    printerCombo->setView(list);
    printerCombo->setModelColumn(0);
    printerCombo->installEventFilter(this);
    connect(printerCombo, qOverload<int>(&QComboBox::activated), this,
            [this] { onPrinterChosen(); });

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &BulkUpdateDialog::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(FormLook::caption(QStringLiteral("セット日"), this), 0, 0);
    grid->addWidget(setDateCombo, 0, 1);
    grid->addWidget(FormLook::caption(QStringLiteral("印字機種"), this), 1, 0);
    grid->addWidget(printerCombo, 1, 1);
    grid->addWidget(dataKindEdit, 1, 2);
    grid->addWidget(FormLook::caption(QStringLiteral("特定変換"), this), 2, 0);
    grid->addWidget(specialCombo, 2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(setDateCombo, printerCombo);
    setTabOrder(printerCombo, specialCombo);
    setTabOrder(specialCombo, okButton);
    setTabOrder(okButton, cancelButton);
}

void BulkUpdateDialog::initialise()
{
    BusyCursor busy;
    {
        ConnectionScope connection(m_session);
        if (connection.ok())
            fillLists();
    }
    CriterionCombo::setItems(specialCombo, {QStringLiteral("0"), QStringLiteral("1")});
    setDateCombo->setFocus();
}

void BulkUpdateDialog::fillLists()
{
    try {
        for (const PrinterModel &model : OrderBulkUpdate::printerModels(*m_session.db()))
            m_printers->appendRow(
                {new QStandardItem(model.printer), new QStandardItem(model.dataFlg)});
    } catch (const DbError &error) {
        appDialogs().message(error.text(), Icon::Error);
    }
    printerCombo->setCurrentIndex(-1);
    printerCombo->setEditText(QString());
}

bool BulkUpdateDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == printerCombo && event->type() == QEvent::FocusOut)
        onPrinterChosen();
    return QDialog::eventFilter(watched, event);
}

// The flag follows the model only when the text is one of the list's models; a model typed
// that is not in the list leaves the flag as it was.
void BulkUpdateDialog::onPrinterChosen()
{
    const int row = printerCombo->findText(printerCombo->currentText(), Qt::MatchExactly);
    if (row != -1)
        dataKindEdit->setText(m_printers->item(row, 1)->text());
}

BulkUpdateValues BulkUpdateDialog::values() const
{
    return {setDateCombo->currentText(), printerCombo->currentText(), dataKindEdit->text(),
            specialCombo->currentText()};
}

void BulkUpdateDialog::onOk()
{
    const BulkUpdateValues given = values();
    Outcome outcome = Outcome::Failed;
    int changed = 0;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok())
            return;
        // The three checks come first and write nothing; the updates then run in one
        // transaction, so a failing statement leaves no half-done update behind.
        OrderBulkUpdate update(*m_session.db(), appDialogs());
        if (given.anyGiven()) {
            if (update.check(given) != Outcome::Done)
                return;
            // The operator sees how far the update reaches before it writes: the current
            // condition may be a find made long ago, or none at all.
            int lines = 0;
            try {
                lines = update.lines(m_session.orderCondition());
            } catch (const DbError &e) {
                appDialogs().message(e.describe(), Icon::Error);
                return;
            }
            if (lines < 1) {
                appDialogs().message(QStringLiteral("レコードがありません。"), Icon::Error);
                return;
            }
            if (!appDialogs().ask(OrderBulkUpdate::questionText(lines), Icon::Question))
                return; // the dialog stays open with the input
        }
        outcome = update.apply(given, m_session.orderCondition());
        changed = update.changedLines();
    }
    if (outcome != Outcome::Done)
        return; // refused or failed, with its message; the dialog stays open with the input
    if (given.anyGiven())
        appDialogs().message(OrderBulkUpdate::doneText(changed));
    accept();
    if (auto *edit =
            qobject_cast<GridScreen *>(ScreenRegistry::instance().find<OrderEditScreen>())) {
        edit->show();
        edit->refillKeepingPosition();
    }
}
