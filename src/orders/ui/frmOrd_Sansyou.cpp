#include "frmOrd_Sansyou.h"

#include "BusyCursor.h"
#include "CriterionCombo.h"
#include "DBGrid.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "FunctionKeyBar.h"
#include "OrderColumnValues.h"
#include "globals.h"

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

frmOrd_Sansyou::frmOrd_Sansyou(QWidget *parent) : GridScreen(parent)
{
    setWindowTitle(QStringLiteral("確定済み参照"));
    setRecordCountInToolTip(true);
    setResizeRule(ResizeRule::Designed);
    frameF->setVisible(true); // the designed layout keeps its key bar

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildFilters());
    layout->addWidget(TDBGrid1, 1);
    layout->addWidget(frameF);
    // Designed once: the window is not resized, and nothing follows a resize.
    setFixedSize(GridColumn::twipsToPixels(kWidthTwips), GridColumn::twipsToPixels(kHeightTwips));
}

QWidget *frmOrd_Sansyou::buildFilters()
{
    auto *panel = new QWidget(this);
    cmbImpDate = CriterionCombo::create(QStringLiteral("cmbImpDate"), panel);
    cmbSetDate1 = CriterionCombo::create(QStringLiteral("cmbSetDate1"), panel);
    cmbSetDate2 = CriterionCombo::create(QStringLiteral("cmbSetDate2"), panel);
    cmbLotNo = CriterionCombo::create(QStringLiteral("cmbLotNo"), panel);
    cmbHinban = CriterionCombo::create(QStringLiteral("cmbHinban"), panel);
    cmbRow = CriterionCombo::create(QStringLiteral("cmbRow"), panel);
    cmbSeisanTuki = CriterionCombo::create(QStringLiteral("cmbSeisanTuki"), panel);
    cmbCarCd = CriterionCombo::create(QStringLiteral("cmbCarCd"), panel);

    auto *grid = new QGridLayout(panel);
    auto add = [&](int row, int col, const QString &caption, QWidget *input) {
        grid->addWidget(FormLook::caption(caption, panel), row, col);
        grid->addWidget(input, row, col + 1);
    };
    auto *setDates = new QHBoxLayout;
    setDates->addWidget(cmbSetDate1);
    setDates->addWidget(new QLabel(QStringLiteral("～"), panel));
    setDates->addWidget(cmbSetDate2);
    setDates->addStretch();
    add(0, 0, QStringLiteral("処理日"), cmbImpDate);
    grid->addWidget(FormLook::caption(QStringLiteral("セット日"), panel), 0, 2);
    grid->addLayout(setDates, 0, 3, 1, 3);
    add(1, 0, QStringLiteral("LotNo"), cmbLotNo);
    add(1, 2, QStringLiteral("品番"), cmbHinban);
    add(1, 4, QStringLiteral("ROW"), cmbRow);
    add(2, 0, QStringLiteral("生産月"), cmbSeisanTuki);
    add(2, 2, QStringLiteral("ネーム種"), cmbCarCd);
    grid->setColumnStretch(6, 1);

    QWidget *order[] = {cmbImpDate, cmbSetDate1, cmbSetDate2,   cmbLotNo,
                        cmbHinban,  cmbRow,      cmbSeisanTuki, cmbCarCd};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    return panel;
}

void frmOrd_Sansyou::Form_Load()
{
    BusyCursor busy;
    PP_FuncKeySet();
    PP_ColumnSet();
    if (dbOpen(0) != 0)
        return; // dbOpen has told the operator; the lists stay empty
    PP_ListSet();
    cmbImpDate->setFocus();
}

void frmOrd_Sansyou::PP_ListSet()
{
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
    CriterionCombo::setItems(cmbSeisanTuki, months);
    try {
        CriterionCombo::setItems(cmbImpDate, OrderColumnValues::ofConfirmed(*gCn, "IMP_DATE"));
        const QStringList setDates = OrderColumnValues::ofConfirmed(*gCn, "SET_DATE");
        CriterionCombo::setItems(cmbSetDate1, setDates);
        CriterionCombo::setItems(cmbSetDate2, setDates);
        CriterionCombo::setItems(cmbHinban, OrderColumnValues::ofConfirmed(*gCn, "HINBAN"));
        CriterionCombo::setItems(cmbLotNo, OrderColumnValues::ofConfirmed(*gCn, "LOT_NO"));
        CriterionCombo::setItems(cmbRow, OrderColumnValues::ofConfirmed(*gCn, "ROW"));
        CriterionCombo::setItems(cmbCarCd, OrderColumnValues::nameTypes(*gCn));
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}

QList<GridColumn> frmOrd_Sansyou::gridColumns() const
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

QStringList frmOrd_Sansyou::functionKeyCaptions() const
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

ConfirmedOrderFilters frmOrd_Sansyou::filters() const
{
    ConfirmedOrderFilters f;
    f.impDate = cmbImpDate->currentText();
    f.setDate1 = cmbSetDate1->currentText();
    f.setDate2 = cmbSetDate2->currentText();
    f.lotNo = cmbLotNo->currentText();
    f.hinban = cmbHinban->currentText();
    f.row = cmbRow->currentText();
    f.seisanTuki = cmbSeisanTuki->currentText();
    f.carCd = cmbCarCd->currentText();
    return f;
}

void frmOrd_Sansyou::PP_QuerySet()
{
    m_select = ConfirmedOrderQuery::selectList();
    m_from = ConfirmedOrderQuery::fromPart();
    m_where = ConfirmedOrderQuery::wherePart(filters());
    m_order = ConfirmedOrderQuery::orderPart();
}

QString frmOrd_Sansyou::gridSql()
{
    return m_select + m_from + m_where + m_order;
}

void frmOrd_Sansyou::PP_Show()
{
    PP_QuerySet();
    MF_GridSet();
}

void frmOrd_Sansyou::onFunctionKey(int key)
{
    switch (key) {
    case 4:
        PP_Show();
        break;
    case 12:
        excelOut(); // the same statement as the grid's
        break;
    default:
        GridScreen::onFunctionKey(key);
    }
}
