#include "NameTypeListScreen.h"

#include "NameTypeEditScreen.h"
#include "NameTypeMaster.h"
#include "Progress.h"

NameTypeListScreen::NameTypeListScreen(Session &session, QWidget *parent)
    : MasterListScreen(session, QStringLiteral("ネーム資材マスタ"),
                       ScreenRegistry::key<NameTypeEditScreen>(), parent)
{
}

QList<GridColumn> NameTypeListScreen::gridColumns() const
{
    return {GridColumn(QStringLiteral("ネーム種"), QStringLiteral("CAR_CD"), 1000).readOnly(),
            GridColumn(QStringLiteral("オステラ資材コード"), QStringLiteral("O_SHO_CD"), 1500)
                .readOnly(),
            GridColumn(QStringLiteral("ダスメル資材コード"), QStringLiteral("D_SHO_CD"), 1500),
            GridColumn(QStringLiteral("品名1"), QStringLiteral("SHO_NM1"), 2000),
            GridColumn(QStringLiteral("品名2"), QStringLiteral("SHO_NM2"), 2000),
            GridColumn(QStringLiteral("単価"), QStringLiteral("PRICE"), 1000)
                .format(QStringLiteral("##0.00")),
            GridColumn(QStringLiteral("LAYOUT"), QStringLiteral("LAYOUT1"), 1000),
            GridColumn(QStringLiteral("予備基準値"), QStringLiteral("SPARE_SU0"), 1500),
            GridColumn(QStringLiteral("予備数1"), QStringLiteral("SPARE_SU1"), 1500),
            GridColumn(QStringLiteral("予備数2"), QStringLiteral("SPARE_SU2"), 1500),
            GridColumn(QStringLiteral("袋詰基準数"), QStringLiteral("PACKING_SU"), 1500),
            GridColumn(QStringLiteral("ヤレ数"), QStringLiteral("YARE_SU"), 1500),
            GridColumn(QStringLiteral("表紙名"), QStringLiteral("B1"), 1500),
            GridColumn(QStringLiteral("備考1"), QStringLiteral("BIKO1"), 2000),
            GridColumn(QStringLiteral("備考2"), QStringLiteral("BIKO2"), 1000),
            GridColumn(QStringLiteral("ユーザ"), QStringLiteral("USER_NM"), 1000),
            GridColumn(QStringLiteral("更新日"), QStringLiteral("TIME_STAMP"), 1800)};
}

QString NameTypeListScreen::gridSql()
{
    return NameTypeMaster::listStatement();
}

std::unique_ptr<MasterTable> NameTypeListScreen::createTable(Db &db) const
{
    return std::make_unique<NameTypeMaster>(db, &appProgress());
}
