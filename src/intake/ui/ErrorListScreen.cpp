#include "ErrorListScreen.h"

#include "Db.h"
#include "MasterChecks.h"
#include "Session.h"

ErrorListScreen::ErrorListScreen(Session &session, QWidget *parent)
    : DayCheckListScreen(session, parent)
{
    setWindowTitle(QStringLiteral("エラー確認"));
    setResizeRule(ResizeRule::GridAboveBar);
    setFormSizeTwips(13500, 10000);
}

QList<GridColumn> ErrorListScreen::gridColumns() const
{
    return {GridColumn(QStringLiteral("IMP_DATE"), QStringLiteral("IMP_DATE"), 2000)
                .hidden()
                .readOnly(),
            GridColumn(QStringLiteral("IMP_LN"), QStringLiteral("IMP_LN"), 700).hidden(),
            GridColumn(QStringLiteral("行"), QStringLiteral("ERR_LN"), 300),
            GridColumn(QStringLiteral("管理No"), QStringLiteral("ERR1"), 900),
            GridColumn(QStringLiteral("内容1"), QStringLiteral("ERR2"), 3500),
            GridColumn(QStringLiteral("内容2"), QStringLiteral("ERR3"), 3500)};
}

QString ErrorListScreen::gridSql()
{
    return findingsListStatement();
}

QVariantMap ErrorListScreen::gridParams()
{
    return {{QStringLiteral("d"), m_session.importDate()}};
}
