#include "FactoryListScreen.h"

#include "FactoryEditScreen.h"
#include "FactoryMaster.h"

FactoryListScreen::FactoryListScreen(Session &session, QWidget *parent)
    : MasterListScreen(session, QStringLiteral("工場マスタ"),
                       ScreenRegistry::key<FactoryEditScreen>(), parent)
{
}

QList<GridColumn> FactoryListScreen::gridColumns() const
{
    return {GridColumn(QStringLiteral("工場略号"), QStringLiteral("FC_RG"), 1000).readOnly(),
            GridColumn(QStringLiteral("工場コード"), QStringLiteral("FC_CD"), 1000).readOnly(),
            GridColumn(QStringLiteral("工場名"), QStringLiteral("FC_NM"), 2000),
            GridColumn(QStringLiteral("工場略称"), QStringLiteral("FC_RNM"), 1000),
            GridColumn(QStringLiteral("原産国"), QStringLiteral("GENSAN"), 1500),
            GridColumn(QStringLiteral("請求CD"), QStringLiteral("SEI_NO"), 1000),
            GridColumn(QStringLiteral("納品先CD"), QStringLiteral("NOU_NO"), 1000),
            GridColumn(QStringLiteral("送り状CD"), QStringLiteral("OKR_NO"), 1000),
            GridColumn(QStringLiteral("住所1"), QStringLiteral("ADRESS1"), 2000),
            GridColumn(QStringLiteral("住所2"), QStringLiteral("ADRESS2"), 1000),
            GridColumn(QStringLiteral("電話番号"), QStringLiteral("TEL"), 1500),
            GridColumn(QStringLiteral("FAX番号"), QStringLiteral("FAX"), 1500),
            GridColumn(QStringLiteral("備考1"), QStringLiteral("BIKO1"), 2000),
            GridColumn(QStringLiteral("備考2"), QStringLiteral("BIKO2"), 2000),
            GridColumn(QStringLiteral("ユーザ"), QStringLiteral("USER_NM"), 1000),
            GridColumn(QStringLiteral("更新日"), QStringLiteral("TIME_STAMP"), 1800)};
}

QString FactoryListScreen::gridSql()
{
    return FactoryMaster::listStatement();
}

std::unique_ptr<MasterTable> FactoryListScreen::createTable(Db &db) const
{
    return std::make_unique<FactoryMaster>(db);
}
