#include "frmOrd_Update.h"

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
#include "globals.h"

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

frmOrd_Update::frmOrd_Update(QWidget *parent)
    : QDialog(parent), m_printers(new QStandardItemModel(0, 2, this))
{
    setWindowTitle(QStringLiteral("更新"));
    buildControls();
    new KeyPreview(this, [this](QKeyEvent *e) { return CriterionCombo::enterMovesOn(this, e); });
    Form_Load();
}

void frmOrd_Update::buildControls()
{
    cmbSetDate = CriterionCombo::create(QStringLiteral("cmbSetDate"), this);
    cmbPrinter = CriterionCombo::create(QStringLiteral("cmbPrinter"), this);
    txtDataFlg = new QLineEdit(this);
    txtDataFlg->setObjectName(QStringLiteral("txtDataFlg"));
    txtDataFlg->setReadOnly(true); // the flag of the model chosen from the list
    txtDataFlg->setFocusPolicy(Qt::NoFocus);
    txtDataFlg->setFixedWidth(36);
    cmbFlg5 = CriterionCombo::create(QStringLiteral("cmbFlg5"), this);

    // The list shows the model and its flag side by side.
    auto *list = new QTableView(cmbPrinter);
    list->horizontalHeader()->hide();
    list->verticalHeader()->hide();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setShowGrid(false);
    cmbPrinter->setModel(m_printers);
    cmbPrinter->setView(list);
    cmbPrinter->setModelColumn(0);
    cmbPrinter->installEventFilter(this);
    connect(cmbPrinter, qOverload<int>(&QComboBox::activated), this,
            [this] { cmbPrinter_LostFocus(); });

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_Update::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(FormLook::caption(QStringLiteral("セット日"), this), 0, 0);
    grid->addWidget(cmbSetDate, 0, 1);
    grid->addWidget(FormLook::caption(QStringLiteral("印字機種"), this), 1, 0);
    grid->addWidget(cmbPrinter, 1, 1);
    grid->addWidget(txtDataFlg, 1, 2);
    grid->addWidget(FormLook::caption(QStringLiteral("特定変換"), this), 2, 0);
    grid->addWidget(cmbFlg5, 2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(cmbSetDate, cmbPrinter);
    setTabOrder(cmbPrinter, cmbFlg5);
    setTabOrder(cmbFlg5, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
}

void frmOrd_Update::Form_Load()
{
    BusyCursor busy;
    {
        ConnectionScope connection;
        if (connection.ok())
            PP_ListSet();
    }
    CriterionCombo::setItems(cmbFlg5, {QStringLiteral("0"), QStringLiteral("1")});
    cmbSetDate->setFocus();
}

void frmOrd_Update::PP_ListSet()
{
    try {
        for (const PrinterModel &model : OrderBulkUpdate::printerModels(*gCn))
            m_printers->appendRow(
                {new QStandardItem(model.printer), new QStandardItem(model.dataFlg)});
    } catch (const DbError &error) {
        appDialogs().message(error.text(), Icon::Error);
    }
    cmbPrinter->setCurrentIndex(-1);
    cmbPrinter->setEditText(QString());
}

bool frmOrd_Update::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbPrinter && event->type() == QEvent::FocusOut)
        cmbPrinter_LostFocus();
    return QDialog::eventFilter(watched, event);
}

// The flag follows the model only when the text is one of the list's models; a model typed
// that is not in the list leaves the flag as it was.
void frmOrd_Update::cmbPrinter_LostFocus()
{
    const int row = cmbPrinter->findText(cmbPrinter->currentText(), Qt::MatchExactly);
    if (row != -1)
        txtDataFlg->setText(m_printers->item(row, 1)->text());
}

BulkUpdateValues frmOrd_Update::values() const
{
    return {cmbSetDate->currentText(), cmbPrinter->currentText(), txtDataFlg->text(),
            cmbFlg5->currentText()};
}

void frmOrd_Update::cmdOk_Click()
{
    bool applied = false;
    {
        BusyCursor busy;
        ConnectionScope connection;
        if (!connection.ok())
            return;
        // The three checks come first and write nothing; the updates then run in one
        // transaction, so a failing statement leaves no half-done update behind.
        OrderBulkUpdate update(*gCn, appDialogs());
        applied = update.apply(values(), gWhere);
    }
    if (!applied)
        return; // refused or failed, with its message; the dialog stays open with the input
    accept();
    if (auto *edit = qobject_cast<GridScreen *>(
            ScreenRegistry::instance().find(QStringLiteral("frmOrd_Edit")))) {
        edit->show();
        edit->refillKeepingPosition();
    }
}
