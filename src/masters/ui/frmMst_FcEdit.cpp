#include "frmMst_FcEdit.h"

#include "FactoryMaster.h"
#include "FormLook.h"
#include "Progress.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

frmMst_FcEdit::frmMst_FcEdit(QWidget *parent)
    : MasterEditScreen(QStringLiteral("工場マスタ編集"), parent)
{
    txtFcRg = textInput(QStringLiteral("FC_RG"), "txtFcRg", 100);
    txtFcCd = textInput(QStringLiteral("FC_CD"), "txtFcCd", 100);
    txtFcRnm = textInput(QStringLiteral("FC_RNM"), "txtFcRnm", 160);
    cmbGensan = comboInput(QStringLiteral("GENSAN"), "cmbGensan", 140);
    txtFcNm = textInput(QStringLiteral("FC_NM"), "txtFcNm", 0);
    txtAdress1 = textInput(QStringLiteral("ADRESS1"), "txtAdress1", 0);
    txtAdress2 = textInput(QStringLiteral("ADRESS2"), "txtAdress2", 0);
    txtTel = textInput(QStringLiteral("TEL"), "txtTel", 160);
    txtFax = textInput(QStringLiteral("FAX"), "txtFax", 160);
    txtSeiNo = textInput(QStringLiteral("SEI_NO"), "txtSeiNo", 110);
    txtNouNo = textInput(QStringLiteral("NOU_NO"), "txtNouNo", 110);
    txtOkrNo = textInput(QStringLiteral("OKR_NO"), "txtOkrNo", 110);
    txtBiko1 = textInput(QStringLiteral("BIKO1"), "txtBiko1", 0);
    txtBiko2 = textInput(QStringLiteral("BIKO2"), "txtBiko2", 0);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(3, 1);
    int row = 0;
    auto pair = [&](const QString &leftCaption, QWidget *left, const QString &rightCaption,
                    QWidget *right) {
        grid->addWidget(FormLook::caption(leftCaption, this), row, 0);
        grid->addWidget(left, row, 1, Qt::AlignLeft);
        if (right) {
            grid->addWidget(FormLook::caption(rightCaption, this), row, 2);
            grid->addWidget(right, row, 3, Qt::AlignLeft);
        }
        ++row;
    };
    auto wide = [&](const QString &caption, QWidget *input) {
        grid->addWidget(FormLook::caption(caption, this), row, 0);
        grid->addWidget(input, row, 1, 1, 3);
        ++row;
    };
    pair(QStringLiteral("工場略号"), txtFcRg, QStringLiteral("工場コード"), txtFcCd);
    pair(QStringLiteral("工場略称"), txtFcRnm, QStringLiteral("原産国"), cmbGensan);
    wide(QStringLiteral("工場名"), txtFcNm);
    wide(QStringLiteral("住所1"), txtAdress1);
    wide(QStringLiteral("住所2"), txtAdress2);
    pair(QStringLiteral("TEL"), txtTel, QStringLiteral("FAX"), txtFax);
    pair(QStringLiteral("請求先CD"), txtSeiNo, QStringLiteral("納品先CD"), txtNouNo);
    pair(QStringLiteral("送り状CD"), txtOkrNo, QString(), nullptr);
    wide(QStringLiteral("備考"), txtBiko1);
    wide(QStringLiteral("備考2"), txtBiko2);
    setBody(grid);
    resize(680, sizeHint().height());
}

std::unique_ptr<MasterTable> frmMst_FcEdit::createTable(Db &db) const
{
    return std::make_unique<FactoryMaster>(db, &appProgress());
}

void frmMst_FcEdit::PP_ListSet(MasterTable &)
{
    cmbGensan->clear();
    cmbGensan->addItems(FactoryMaster::PP_GensanList());
    cmbGensan->setEditText(QString());
}
