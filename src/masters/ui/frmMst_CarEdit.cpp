#include "frmMst_CarEdit.h"

#include "CarMaster.h"
#include "FormLook.h"
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

frmMst_CarEdit::frmMst_CarEdit(QWidget *parent)
    : MasterEditScreen(QStringLiteral("ネーム資材マスタ"), parent)
{
    txtCarCd = textInput(QStringLiteral("CAR_CD"), "txtCarCd", 120);
    txtLayout = textInput(QStringLiteral("LAYOUT1"), "txtLayout", 120);
    txtB1 = textInput(QStringLiteral("B1"), "txtB1", 120);
    txtOCD = textInput(QStringLiteral("O_SHO_CD"), "txtOCD", 180);
    txtDCD = textInput(QStringLiteral("D_SHO_CD"), "txtDCD", 180);
    txtHin1 = textInput(QStringLiteral("SHO_NM1"), "txtHin1", 280);
    txtHin2 = textInput(QStringLiteral("SHO_NM2"), "txtHin2", 280);
    txtPrice = numberInput(QStringLiteral("PRICE"), "txtPrice", true);
    txtSp0 = numberInput(QStringLiteral("SPARE_SU0"), "txtSp0", false);
    txtSp1 = numberInput(QStringLiteral("SPARE_SU1"), "txtSp1", false);
    txtSp2 = numberInput(QStringLiteral("SPARE_SU2"), "txtSp2", false);
    txtPacking = numberInput(QStringLiteral("PACKING_SU"), "txtPacking", false);
    txtYareSu = numberInput(QStringLiteral("YARE_SU"), "txtYareSu", false);
    txtBiko1 = textInput(QStringLiteral("BIKO1"), "txtBiko1", 0);
    txtBiko2 = textInput(QStringLiteral("BIKO2"), "txtBiko2", 0);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    addRow(grid, 0, 0, QStringLiteral("ネーム種"), txtCarCd, this);
    addRow(grid, 1, 0, QStringLiteral("LAYOUT"), txtLayout, this);
    addRow(grid, 2, 0, QStringLiteral("表紙LAYOUT"), txtB1, this);
    addRow(grid, 3, 0, QStringLiteral("オステラ資材コード"), txtOCD, this);
    addRow(grid, 4, 0, QStringLiteral("ダスメル資材コード"), txtDCD, this);
    addRow(grid, 5, 0, QStringLiteral("品名1"), txtHin1, this);
    addRow(grid, 6, 0, QStringLiteral("品名2"), txtHin2, this);
    addRow(grid, 0, 1, QStringLiteral("単価"), txtPrice, this);
    addRow(grid, 1, 1, QStringLiteral("予備基準値"), txtSp0, this);
    addRow(grid, 2, 1, QStringLiteral("予備数1"), txtSp1, this);
    addRow(grid, 3, 1, QStringLiteral("予備数2"), txtSp2, this);
    addRow(grid, 4, 1, QStringLiteral("袋詰基準値"), txtPacking, this);
    addRow(grid, 5, 1, QStringLiteral("ヤレ数"), txtYareSu, this);
    grid->addWidget(FormLook::caption(QStringLiteral("備考"), this), 7, 0);
    grid->addWidget(txtBiko1, 7, 1, 1, 5);
    grid->addWidget(FormLook::caption(QStringLiteral("備考2"), this), 8, 0);
    grid->addWidget(txtBiko2, 8, 1, 1, 5);
    setBody(grid);

    resize(760, sizeHint().height());
}

QLineEdit *frmMst_CarEdit::numberInput(const QString &column, const char *objectName, bool decimals)
{
    QLineEdit *edit = textInput(column, objectName, 110);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QString pattern =
        decimals ? QStringLiteral("\\d{0,8}(\\.\\d{0,2})?") : QStringLiteral("\\d{0,9}");
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
}

std::unique_ptr<MasterTable> frmMst_CarEdit::createTable(Db &db) const
{
    return std::make_unique<CarMaster>(db, &appProgress());
}
