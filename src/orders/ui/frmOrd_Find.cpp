#include "frmOrd_Find.h"

#include "BusyCursor.h"
#include "ConnectionScope.h"
#include "CriterionCombo.h"
#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "GridScreen.h"
#include "KeyPreview.h"
#include "OrderColumnValues.h"
#include "OrderFindCondition.h"
#include "ScreenRegistry.h"
#include "globals.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *between(QWidget *parent)
{
    return new QLabel(QStringLiteral("～"), parent);
}
} // namespace

frmOrd_Find::frmOrd_Find(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("検索"));
    buildControls();
    new KeyPreview(this, [this](QKeyEvent *e) { return CriterionCombo::enterMovesOn(this, e); });
    Form_Load();
}

void frmOrd_Find::buildControls()
{
    txtImpDate = new QLineEdit(this);
    txtImpDate->setObjectName(QStringLiteral("txtImpDate"));
    txtImpDate->setReadOnly(true); // the date of the edit screen
    txtImpDate->setFocusPolicy(Qt::NoFocus);
    cmbFcRg = CriterionCombo::create(QStringLiteral("cmbFcRg"), this);
    cmbSetDate1 = CriterionCombo::create(QStringLiteral("cmbSetDate1"), this);
    cmbSetDate2 = CriterionCombo::create(QStringLiteral("cmbSetDate2"), this);
    cmbHinban = CriterionCombo::create(QStringLiteral("cmbHinban"), this);
    cmbKnrNo = CriterionCombo::create(QStringLiteral("cmbKnrNo"), this);
    cmbLotNo = CriterionCombo::create(QStringLiteral("cmbLotNo"), this);
    cmbLotSu1 = CriterionCombo::create(QStringLiteral("cmbLotSu1"), this);
    cmbLotSu2 = CriterionCombo::create(QStringLiteral("cmbLotSu2"), this);
    cmbLotAvg1 = CriterionCombo::create(QStringLiteral("cmbLotAvg1"), this);
    cmbLotAvg2 = CriterionCombo::create(QStringLiteral("cmbLotAvg2"), this);
    cmbFlg5 = CriterionCombo::create(QStringLiteral("cmbFlg5"), this);
    cmbCarCd = CriterionCombo::create(QStringLiteral("cmbCarCd"), this);
    cmbQulCd = CriterionCombo::create(QStringLiteral("cmbQulCd"), this);

    auto *grid = new QGridLayout;
    int row = 0;
    auto add = [&](const QString &caption, QWidget *from, QWidget *to = nullptr) {
        grid->addWidget(FormLook::caption(caption, this), row, 0);
        grid->addWidget(from, row, 1);
        if (to) {
            grid->addWidget(between(this), row, 2);
            grid->addWidget(to, row, 3);
        }
        ++row;
    };
    add(QStringLiteral("処理日"), txtImpDate);
    add(QStringLiteral("工場略号"), cmbFcRg);
    add(QStringLiteral("セット日"), cmbSetDate1, cmbSetDate2);
    add(QStringLiteral("品番"), cmbHinban);
    add(QStringLiteral("管理No"), cmbKnrNo);
    add(QStringLiteral("LotNo"), cmbLotNo);
    add(QStringLiteral("Lot数"), cmbLotSu1, cmbLotSu2);
    add(QStringLiteral("Lot平均数"), cmbLotAvg1, cmbLotAvg2);
    add(QStringLiteral("特定変換"), cmbFlg5);
    add(QStringLiteral("ネーム種"), cmbCarCd);
    add(QStringLiteral("品質Key"), cmbQulCd);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_Find::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    QWidget *order[] = {cmbFcRg,  cmbSetDate1, cmbSetDate2, cmbHinban,  cmbKnrNo,
                        cmbLotNo, cmbLotSu1,   cmbLotSu2,   cmbLotAvg1, cmbLotAvg2,
                        cmbFlg5,  cmbCarCd,    cmbQulCd,    cmdOk,      cmdCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmOrd_Find::Form_Load()
{
    BusyCursor busy;
    {
        ConnectionScope connection;
        if (connection.ok())
            PP_ListSet();
    }
    CriterionCombo::setItems(cmbFlg5, {QStringLiteral("0"), QStringLiteral("1")});
    Form_Activate();
    cmbFcRg->setFocus();
}

void frmOrd_Find::PP_ListSet()
{
    const std::pair<QString, QList<QComboBox *>> lists[] = {
        {QStringLiteral("FC_RG"), {cmbFcRg}},
        {QStringLiteral("SET_DATE"), {cmbSetDate1, cmbSetDate2}},
        {QStringLiteral("HINBAN"), {cmbHinban}},
        {QStringLiteral("KNR_NO"), {cmbKnrNo}},
        {QStringLiteral("LOT_NO"), {cmbLotNo}},
        {QStringLiteral("QUL_KEY"), {cmbQulCd}}};
    try {
        for (const auto &[column, combos] : lists) {
            const QStringList values = OrderColumnValues::ofImportDate(*gCn, column, gImpDate);
            for (QComboBox *combo : combos)
                CriterionCombo::setItems(combo, values);
        }
    } catch (const DbError &error) {
        appDialogs().message(error.text(), Icon::Error);
    }
}

void frmOrd_Find::showEvent(QShowEvent *event)
{
    Form_Activate();
    QDialog::showEvent(event);
}

void frmOrd_Find::Form_Activate()
{
    txtImpDate->setText(gImpDate);
}

OrderFindCriteria frmOrd_Find::criteria() const
{
    OrderFindCriteria c;
    c.impDate = txtImpDate->text();
    c.fcRg = cmbFcRg->currentText();
    c.flg5 = cmbFlg5->currentText();
    c.carCd = cmbCarCd->currentText();
    c.setDate1 = cmbSetDate1->currentText();
    c.setDate2 = cmbSetDate2->currentText();
    c.hinban = cmbHinban->currentText();
    c.knrNo = cmbKnrNo->currentText();
    c.lotNo = cmbLotNo->currentText();
    c.qulKey = cmbQulCd->currentText();
    c.lotSu1 = cmbLotSu1->currentText();
    c.lotSu2 = cmbLotSu2->currentText();
    c.lotAvg1 = cmbLotAvg1->currentText();
    c.lotAvg2 = cmbLotAvg2->currentText();
    return c;
}

void frmOrd_Find::cmdOk_Click()
{
    const OrderFindResult result = OrderFindCondition::build(criteria());
    if (!result.ok()) {
        appDialogs().message(result.refusal, Icon::Error);
        return; // the dialog stays with the operator's input; gWhere is unchanged
    }
    gWhere = result.condition;
    accept();
    if (auto *edit = qobject_cast<GridScreen *>(
            ScreenRegistry::instance().find(QStringLiteral("frmOrd_Edit")))) {
        edit->show();
        edit->MF_GridSet();
    }
}
