#include "FactoryEditScreen.h"

#include "FactoryMaster.h"
#include "FormLook.h"
#include "Progress.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

FactoryEditScreen::FactoryEditScreen(Session &session, QWidget *parent)
    : MasterEditScreen(session, QStringLiteral("工場マスタ編集"), parent)
{
    factorySymbolEdit = textInput(QStringLiteral("FC_RG"), "factorySymbolEdit", 100);
    factoryCodeEdit = textInput(QStringLiteral("FC_CD"), "factoryCodeEdit", 100);
    shortNameEdit = textInput(QStringLiteral("FC_RNM"), "shortNameEdit", 160);
    originCombo = comboInput(QStringLiteral("GENSAN"), "originCombo", 140);
    factoryNameEdit = textInput(QStringLiteral("FC_NM"), "factoryNameEdit", 0);
    address1Edit = textInput(QStringLiteral("ADRESS1"), "address1Edit", 0);
    address2Edit = textInput(QStringLiteral("ADRESS2"), "address2Edit", 0);
    phoneEdit = textInput(QStringLiteral("TEL"), "phoneEdit", 160);
    faxEdit = textInput(QStringLiteral("FAX"), "faxEdit", 160);
    billingCodeEdit = textInput(QStringLiteral("SEI_NO"), "billingCodeEdit", 110);
    deliveryCodeEdit = textInput(QStringLiteral("NOU_NO"), "deliveryCodeEdit", 110);
    waybillCodeEdit = textInput(QStringLiteral("OKR_NO"), "waybillCodeEdit", 110);
    note1Edit = textInput(QStringLiteral("BIKO1"), "note1Edit", 0);
    note2Edit = textInput(QStringLiteral("BIKO2"), "note2Edit", 0);

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
    pair(QStringLiteral("工場略号"), factorySymbolEdit, QStringLiteral("工場コード"),
         factoryCodeEdit);
    pair(QStringLiteral("工場略称"), shortNameEdit, QStringLiteral("原産国"), originCombo);
    wide(QStringLiteral("工場名"), factoryNameEdit);
    wide(QStringLiteral("住所1"), address1Edit);
    wide(QStringLiteral("住所2"), address2Edit);
    pair(QStringLiteral("TEL"), phoneEdit, QStringLiteral("FAX"), faxEdit);
    pair(QStringLiteral("請求先CD"), billingCodeEdit, QStringLiteral("納品先CD"), deliveryCodeEdit);
    pair(QStringLiteral("送り状CD"), waybillCodeEdit, QString(), nullptr);
    wide(QStringLiteral("備考"), note1Edit);
    wide(QStringLiteral("備考2"), note2Edit);
    setBody(grid);
    resize(680, sizeHint().height());
}

std::unique_ptr<MasterTable> FactoryEditScreen::createTable(Db &db) const
{
    return std::make_unique<FactoryMaster>(db, &appProgress());
}

void FactoryEditScreen::fillLists(MasterTable &)
{
    originCombo->clear();
    originCombo->addItems(FactoryMaster::origins());
    originCombo->setEditText(QString());
}
