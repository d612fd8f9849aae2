#include "ConfirmedOrdersScreen.h"

#include "BusyCursor.h"
#include "CriterionCombo.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "FunctionKeyBar.h"
#include "GridView.h"
#include "OrderColumnValues.h"
#include "Session.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
GridColumn column(const char *caption, const char *field, int width)
{
    return GridColumn(QString::fromUtf8(caption), QString::fromUtf8(field), width);
}

constexpr int kWidthTwips = 13500;
constexpr int kHeightTwips = 9600;
} // namespace

ConfirmedOrdersScreen::ConfirmedOrdersScreen(Session &session, QWidget *parent)
    : GridScreen(session, parent)
{
    setWindowTitle(QStringLiteral("確定済み参照"));
    setRecordCountInToolTip(true);
    setResizeRule(ResizeRule::Designed);
    functionKeyBar->setVisible(true); // the designed layout keeps its key bar

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildFilters());
    layout->addWidget(gridView, 1);
    layout->addWidget(functionKeyBar);
    // Designed once: the window is not resized, and nothing follows a resize.
    setFixedSize(GridColumn::twipsToPixels(kWidthTwips), GridColumn::twipsToPixels(kHeightTwips));
}

QWidget *ConfirmedOrdersScreen::buildFilters()
{
    auto *panel = new QWidget(this);
    importDateCombo = CriterionCombo::create(QStringLiteral("importDateCombo"), panel);
    setDateFromCombo = CriterionCombo::create(QStringLiteral("setDateFromCombo"), panel);
    setDateToCombo = CriterionCombo::create(QStringLiteral("setDateToCombo"), panel);
    lotNumberCombo = CriterionCombo::create(QStringLiteral("lotNumberCombo"), panel);
    productNumberCombo = CriterionCombo::create(QStringLiteral("productNumberCombo"), panel);
    rowCombo = CriterionCombo::create(QStringLiteral("rowCombo"), panel);
    productionMonthCombo = CriterionCombo::create(QStringLiteral("productionMonthCombo"), panel);
    nameTypeCombo = CriterionCombo::create(QStringLiteral("nameTypeCombo"), panel);

    auto *grid = new QGridLayout(panel);
    auto add = [&](int row, int col, const QString &caption, QWidget *input) {
        grid->addWidget(FormLook::caption(caption, panel), row, col);
        grid->addWidget(input, row, col + 1);
    };
    auto *setDates = new QHBoxLayout;
    setDates->addWidget(setDateFromCombo);
    setDates->addWidget(new QLabel(QStringLiteral("～"), panel));
    setDates->addWidget(setDateToCombo);
    setDates->addStretch();
    add(0, 0, QStringLiteral("処理日"), importDateCombo);
    grid->addWidget(FormLook::caption(QStringLiteral("セット日"), panel), 0, 2);
    grid->addLayout(setDates, 0, 3, 1, 3);
    add(1, 0, QStringLiteral("LotNo"), lotNumberCombo);
    add(1, 2, QStringLiteral("品番"), productNumberCombo);
    add(1, 4, QStringLiteral("ROW"), rowCombo);
    add(2, 0, QStringLiteral("生産月"), productionMonthCombo);
    add(2, 2, QStringLiteral("ネーム種"), nameTypeCombo);
    grid->setColumnStretch(6, 1);

    QWidget *order[] = {importDateCombo,    setDateFromCombo, setDateToCombo,       lotNumberCombo,
                        productNumberCombo, rowCombo,         productionMonthCombo, nameTypeCombo};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    return panel;
}

void ConfirmedOrdersScreen::initialise()
{
    BusyCursor busy;
    setUpFunctionKeys();
    setUpColumns();
    if (m_session.open() != Outcome::Done)
        return; // dbOpen has told the operator; the lists stay empty
    fillLists();
    importDateCombo->setFocus();
}

void ConfirmedOrdersScreen::fillLists()
{
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
    CriterionCombo::setItems(productionMonthCombo, months);
    try {
        CriterionCombo::setItems(importDateCombo,
                                 OrderColumnValues::ofConfirmed(*m_session.db(), "IMP_DATE"));
        const QStringList setDates = OrderColumnValues::ofConfirmed(*m_session.db(), "SET_DATE");
        CriterionCombo::setItems(setDateFromCombo, setDates);
        CriterionCombo::setItems(setDateToCombo, setDates);
        CriterionCombo::setItems(productNumberCombo,
                                 OrderColumnValues::ofConfirmed(*m_session.db(), "HINBAN"));
        CriterionCombo::setItems(lotNumberCombo,
                                 OrderColumnValues::ofConfirmed(*m_session.db(), "LOT_NO"));
        CriterionCombo::setItems(rowCombo, OrderColumnValues::ofConfirmed(*m_session.db(), "ROW"));
        CriterionCombo::setItems(nameTypeCombo, OrderColumnValues::nameTypes(*m_session.db()));
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}

QList<GridColumn> ConfirmedOrdersScreen::gridColumns() const
{
    return {column("処理日", "処理日", 2000).hidden().readOnly(),
            column("行", "行", 2000).hidden().readOnly(),
            column("印字機種", "印字機種", 2000),
            column("熱転写", "熱転写", 500).readOnly(),
            column("ネーム種", "ネーム種", 1000),
            column("数量", "数量", 800),
            column("ロット数", "ロット数", 800),
            column("ロット平均数", "ロット平均数", 800),
            column("予備数", "予備数", 800),
            column("ヤレ数", "ヤレ数", 800),
            column("管理No", "管理No", 1000).readOnly(),
            column("ロットNo", "ロットNO", 1000),
            column("発注日", "発注日", 1200),
            column("セット日", "セット日", 1200),
            column("工場略号", "工場略号", 1000),
            column("工場コード", "工場コード", 1000),
            column("工場名", "工場名", 2000),
            column("略名", "略号", 1000),
            column("品番", "品番", 1000),
            column("COL", "COL", 500),
            column("END", "S_END", 500),
            column("TBL", "S_TBL", 500),
            column("FLD", "S_FLD", 500),
            column("ROW", "ROW", 500),
            column("SCN", "SCN", 500),
            column("年", "年", 500),
            column("月", "月", 500),
            column("原産国1", "原産国1", 1200),
            column("原産国2", "原産国2", 1200),
            column("製造元", "製造元", 1000),
            column("品質キー", "品質キー", 1500),
            column("サイズキー", "サイズキー", 1500).readOnly(),
            column("確定日", "確定日", 1500).readOnly()};
}

QStringList ConfirmedOrdersScreen::functionKeyCaptions() const
{
    return {QStringLiteral("終了"),
            QString(),
            QString(),
            QStringLiteral("表示"),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            QStringLiteral("EXCEL")};
}

ConfirmedOrderFilters ConfirmedOrdersScreen::filters() const
{
    ConfirmedOrderFilters f;
    f.impDate = importDateCombo->currentText();
    f.setDate1 = setDateFromCombo->currentText();
    f.setDate2 = setDateToCombo->currentText();
    f.lotNo = lotNumberCombo->currentText();
    f.hinban = productNumberCombo->currentText();
    f.row = rowCombo->currentText();
    f.seisanTuki = productionMonthCombo->currentText();
    f.carCd = nameTypeCombo->currentText();
    return f;
}

void ConfirmedOrdersScreen::buildQuery()
{
    m_select = ConfirmedOrderQuery::selectList();
    m_from = ConfirmedOrderQuery::fromPart();
    m_where = ConfirmedOrderQuery::wherePart(filters());
    m_order = ConfirmedOrderQuery::orderPart();
}

QString ConfirmedOrdersScreen::gridSql()
{
    return m_select + m_from + m_where + m_order;
}

void ConfirmedOrdersScreen::showRows()
{
    buildQuery();
    fillGrid();
}

void ConfirmedOrdersScreen::onFunctionKey(int key)
{
    switch (key) {
    case 4:
        showRows();
        break;
    case 12:
        excelOut(); // the same statement as the grid's
        break;
    default:
        GridScreen::onFunctionKey(key);
    }
}
