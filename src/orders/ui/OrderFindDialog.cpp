#include "OrderFindDialog.h"

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
#include "Session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

class OrderEditScreen;

namespace {
QLabel *between(QWidget *parent)
{
    return new QLabel(QStringLiteral("～"), parent);
}
} // namespace

OrderFindDialog::OrderFindDialog(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("検索"));
    buildControls();
    new KeyPreview(this, [this](QKeyEvent *e) { return CriterionCombo::enterMovesOn(this, e); });
    initialise();
}

void OrderFindDialog::buildControls()
{
    importDateEdit = new QLineEdit(this);
    importDateEdit->setObjectName(QStringLiteral("importDateEdit"));
    importDateEdit->setReadOnly(true); // the date of the edit screen
    importDateEdit->setFocusPolicy(Qt::NoFocus);
    factorySymbolCombo = CriterionCombo::create(QStringLiteral("factorySymbolCombo"), this);
    setDateFromCombo = CriterionCombo::create(QStringLiteral("setDateFromCombo"), this);
    setDateToCombo = CriterionCombo::create(QStringLiteral("setDateToCombo"), this);
    productNumberCombo = CriterionCombo::create(QStringLiteral("productNumberCombo"), this);
    controlNumberCombo = CriterionCombo::create(QStringLiteral("controlNumberCombo"), this);
    lotNumberCombo = CriterionCombo::create(QStringLiteral("lotNumberCombo"), this);
    lotCountFromCombo = CriterionCombo::create(QStringLiteral("lotCountFromCombo"), this);
    lotCountToCombo = CriterionCombo::create(QStringLiteral("lotCountToCombo"), this);
    lotAverageFromCombo = CriterionCombo::create(QStringLiteral("lotAverageFromCombo"), this);
    lotAverageToCombo = CriterionCombo::create(QStringLiteral("lotAverageToCombo"), this);
    specialCombo = CriterionCombo::create(QStringLiteral("specialCombo"), this);
    nameTypeCombo = CriterionCombo::create(QStringLiteral("nameTypeCombo"), this);
    qualityKeyCombo = CriterionCombo::create(QStringLiteral("qualityKeyCombo"), this);
    printerCombo = CriterionCombo::create(QStringLiteral("printerCombo"), this);
    findingsCombo = new QComboBox(this);
    findingsCombo->setObjectName(QStringLiteral("findingsCombo"));
    findingsCombo->addItems(OrderFindCondition::findingsChoices());

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
    add(QStringLiteral("処理日"), importDateEdit);
    add(QStringLiteral("工場略号"), factorySymbolCombo);
    add(QStringLiteral("セット日"), setDateFromCombo, setDateToCombo);
    add(QStringLiteral("品番"), productNumberCombo);
    add(QStringLiteral("管理No"), controlNumberCombo);
    add(QStringLiteral("LotNo"), lotNumberCombo);
    add(QStringLiteral("Lot数"), lotCountFromCombo, lotCountToCombo);
    add(QStringLiteral("Lot平均数"), lotAverageFromCombo, lotAverageToCombo);
    add(QStringLiteral("特定変換"), specialCombo);
    add(QStringLiteral("ネーム種"), nameTypeCombo);
    add(QStringLiteral("品質Key"), qualityKeyCombo);
    add(QStringLiteral("印字機種"), printerCombo);
    add(QStringLiteral("エラー"), findingsCombo);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &OrderFindDialog::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    QWidget *order[] = {factorySymbolCombo, setDateFromCombo,   setDateToCombo,
                        productNumberCombo, controlNumberCombo, lotNumberCombo,
                        lotCountFromCombo,  lotCountToCombo,    lotAverageFromCombo,
                        lotAverageToCombo,  specialCombo,       nameTypeCombo,
                        qualityKeyCombo,    printerCombo,       findingsCombo,
                        okButton,           cancelButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void OrderFindDialog::initialise()
{
    BusyCursor busy;
    {
        ConnectionScope connection(m_session);
        if (connection.ok())
            fillLists();
    }
    CriterionCombo::setItems(specialCombo, {QStringLiteral("0"), QStringLiteral("1")});
    onActivated();
    factorySymbolCombo->setFocus();
}

void OrderFindDialog::fillLists()
{
    const std::pair<QString, QList<QComboBox *>> lists[] = {
        {QStringLiteral("FC_RG"), {factorySymbolCombo}},
        {QStringLiteral("SET_DATE"), {setDateFromCombo, setDateToCombo}},
        {QStringLiteral("HINBAN"), {productNumberCombo}},
        {QStringLiteral("KNR_NO"), {controlNumberCombo}},
        {QStringLiteral("LOT_NO"), {lotNumberCombo}},
        {QStringLiteral("QUL_KEY"), {qualityKeyCombo}}};
    try {
        for (const auto &[column, combos] : lists) {
            const QStringList values =
                OrderColumnValues::ofImportDate(*m_session.db(), column, m_session.importDate());
            for (QComboBox *combo : combos)
                CriterionCombo::setItems(combo, values);
        }
        // The lines without a printer are offered by name: an empty item could not be told
        // from no criterion.
        QStringList printers = {OrderFindCondition::unassignedPrinter()};
        for (const QString &printer : OrderColumnValues::ofImportDate(
                 *m_session.db(), QStringLiteral("PRINTER"), m_session.importDate()))
            if (!printer.isEmpty())
                printers << printer;
        CriterionCombo::setItems(printerCombo, printers);
    } catch (const DbError &error) {
        appDialogs().message(error.text(), Icon::Error);
    }
}

void OrderFindDialog::showEvent(QShowEvent *event)
{
    onActivated();
    QDialog::showEvent(event);
}

void OrderFindDialog::onActivated()
{
    importDateEdit->setText(m_session.importDate());
}

OrderFindCriteria OrderFindDialog::criteria() const
{
    OrderFindCriteria c;
    c.impDate = importDateEdit->text();
    c.fcRg = factorySymbolCombo->currentText();
    c.flg5 = specialCombo->currentText();
    c.carCd = nameTypeCombo->currentText();
    c.setDate1 = setDateFromCombo->currentText();
    c.setDate2 = setDateToCombo->currentText();
    c.hinban = productNumberCombo->currentText();
    c.knrNo = controlNumberCombo->currentText();
    c.lotNo = lotNumberCombo->currentText();
    c.qulKey = qualityKeyCombo->currentText();
    c.lotSu1 = lotCountFromCombo->currentText();
    c.lotSu2 = lotCountToCombo->currentText();
    c.lotAvg1 = lotAverageFromCombo->currentText();
    c.lotAvg2 = lotAverageToCombo->currentText();
    c.printer = printerCombo->currentText();
    c.findings = OrderFindCondition::findingsOf(findingsCombo->currentText());
    return c;
}

void OrderFindDialog::onOk()
{
    const OrderFindResult result = OrderFindCondition::build(criteria());
    if (!result.ok()) {
        appDialogs().message(result.refusal, Icon::Error);
        return; // the dialog stays with the operator's input; the condition is unchanged
    }
    m_session.setOrderCondition(result.condition);
    accept();
    if (auto *edit =
            qobject_cast<GridScreen *>(ScreenRegistry::instance().find<OrderEditScreen>())) {
        edit->show();
        edit->fillGrid();
    }
}
