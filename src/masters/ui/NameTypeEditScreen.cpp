#include "NameTypeEditScreen.h"

#include "FormLook.h"
#include "NameTypeMaster.h"
#include "Progress.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
void addRow(QGridLayout *grid, int row, int column, const QString &caption, QWidget *input,
            QWidget *parent)
{
    grid->addWidget(FormLook::caption(caption, parent), row, column * 3);
    grid->addWidget(input, row, column * 3 + 1, Qt::AlignLeft);
}
} // namespace

NameTypeEditScreen::NameTypeEditScreen(Session &session, QWidget *parent)
    : MasterEditScreen(session, QStringLiteral("ネーム資材マスタ"), parent)
{
    nameTypeEdit = textInput(QStringLiteral("CAR_CD"), "nameTypeEdit", 120);
    layoutEdit = textInput(QStringLiteral("LAYOUT1"), "layoutEdit", 120);
    coverLayoutEdit = textInput(QStringLiteral("B1"), "coverLayoutEdit", 120);
    oMaterialCodeEdit = textInput(QStringLiteral("O_SHO_CD"), "oMaterialCodeEdit", 180);
    dMaterialCodeEdit = textInput(QStringLiteral("D_SHO_CD"), "dMaterialCodeEdit", 180);
    productName1Edit = textInput(QStringLiteral("SHO_NM1"), "productName1Edit", 280);
    productName2Edit = textInput(QStringLiteral("SHO_NM2"), "productName2Edit", 280);
    priceEdit = numberInput(QStringLiteral("PRICE"), "priceEdit", true);
    spareBaseEdit = numberInput(QStringLiteral("SPARE_SU0"), "spareBaseEdit", false);
    spare1Edit = numberInput(QStringLiteral("SPARE_SU1"), "spare1Edit", false);
    spare2Edit = numberInput(QStringLiteral("SPARE_SU2"), "spare2Edit", false);
    packingEdit = numberInput(QStringLiteral("PACKING_SU"), "packingEdit", false);
    wasteEdit = numberInput(QStringLiteral("YARE_SU"), "wasteEdit", false);
    note1Edit = textInput(QStringLiteral("BIKO1"), "note1Edit", 0);
    note2Edit = textInput(QStringLiteral("BIKO2"), "note2Edit", 0);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    addRow(grid, 0, 0, QStringLiteral("ネーム種"), nameTypeEdit, this);
    addRow(grid, 1, 0, QStringLiteral("LAYOUT"), layoutEdit, this);
    addRow(grid, 2, 0, QStringLiteral("表紙LAYOUT"), coverLayoutEdit, this);
    addRow(grid, 3, 0, QStringLiteral("オステラ資材コード"), oMaterialCodeEdit, this);
    addRow(grid, 4, 0, QStringLiteral("ダスメル資材コード"), dMaterialCodeEdit, this);
    addRow(grid, 5, 0, QStringLiteral("品名1"), productName1Edit, this);
    addRow(grid, 6, 0, QStringLiteral("品名2"), productName2Edit, this);
    addRow(grid, 0, 1, QStringLiteral("単価"), priceEdit, this);
    addRow(grid, 1, 1, QStringLiteral("予備基準値"), spareBaseEdit, this);
    addRow(grid, 2, 1, QStringLiteral("予備数1"), spare1Edit, this);
    addRow(grid, 3, 1, QStringLiteral("予備数2"), spare2Edit, this);
    addRow(grid, 4, 1, QStringLiteral("袋詰基準値"), packingEdit, this);
    addRow(grid, 5, 1, QStringLiteral("ヤレ数"), wasteEdit, this);
    grid->addWidget(FormLook::caption(QStringLiteral("備考"), this), 7, 0);
    grid->addWidget(note1Edit, 7, 1, 1, 5);
    grid->addWidget(FormLook::caption(QStringLiteral("備考2"), this), 8, 0);
    grid->addWidget(note2Edit, 8, 1, 1, 5);
    setBody(grid);

    resize(760, sizeHint().height());
}

QLineEdit *NameTypeEditScreen::numberInput(const QString &column, const char *objectName,
                                           bool decimals)
{
    QLineEdit *edit = textInput(column, objectName, 110);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QString pattern =
        decimals ? QStringLiteral("\\d{0,8}(\\.\\d{0,2})?") : QStringLiteral("\\d{0,9}");
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
}

std::unique_ptr<MasterTable> NameTypeEditScreen::createTable(Db &db) const
{
    return std::make_unique<NameTypeMaster>(db, &appProgress());
}
