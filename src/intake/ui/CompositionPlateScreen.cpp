#include "CompositionPlateScreen.h"

#include "FunctionKeyBar.h"
#include "GridView.h"
#include "PlateCheckQuery.h"
#include "Session.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
// The designed layout of the plate lists (they do not follow the window's size).
constexpr int kWidth = 440;
constexpr int kHeight = 480;
constexpr int kMargin = 8;
constexpr int kFieldHeight = 24;
} // namespace

CompositionPlateScreen::CompositionPlateScreen(Session &session, QWidget *parent)
    : CompositionPlateScreen(session,
                             Plate{QStringLiteral("組成版チェック"), QStringLiteral("品質キー"),
                                   PlateMaster::composition()},
                             parent)
{
}

CompositionPlateScreen::CompositionPlateScreen(Session &session, const Plate &plate,
                                               QWidget *parent)
    : DayCheckListScreen(session, parent), m_plate(plate)
{
    setWindowTitle(plate.caption);
    setResizeRule(ResizeRule::Designed);
    functionKeyBar->setVisible(true); // the designed layout places the band itself
    m_dateCaption = new QLabel(QStringLiteral("処理日"), this);
    importDateEdit = new QLineEdit(this);
    importDateEdit->setObjectName(QStringLiteral("importDateEdit"));
    importDateEdit->setReadOnly(true);
    importDateEdit->setFocusPolicy(Qt::NoFocus);
    resize(kWidth, kHeight);
    layoutDesigned();
}

void CompositionPlateScreen::layoutDesigned()
{
    if (!importDateEdit)
        return; // still being built
    const int top = clientTop() + kMargin;
    m_dateCaption->setGeometry(kMargin, top, 60, kFieldHeight);
    importDateEdit->setGeometry(kMargin + 64, top, 120, kFieldHeight);
    countLabel->setGeometry(kMargin + 200, top, kWidth - kMargin - 208, kFieldHeight);
    const int gridTop = top + kFieldHeight + kMargin;
    const int barTop = kHeight - functionKeyBar->height();
    gridView->setGeometry(kMargin, gridTop, kWidth - 2 * kMargin, barTop - gridTop - kMargin);
    functionKeyBar->setGeometry(0, barTop, kWidth, functionKeyBar->height());
}

void CompositionPlateScreen::layoutChildren()
{
    GridScreen::layoutChildren(); // the menu bar
    layoutDesigned();
}

bool CompositionPlateScreen::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        importDateEdit->setText(m_session.importDate());
    return GridScreen::event(event);
}

QList<GridColumn> CompositionPlateScreen::gridColumns() const
{
    return {GridColumn(QStringLiteral("管理No"), QStringLiteral("KNR_NO"), 2000).readOnly(),
            GridColumn(m_plate.keyCaption, m_plate.master.keyField, 2000).readOnly()};
}

QString CompositionPlateScreen::gridSql()
{
    return PlateCheckQuery::sql(m_plate.master);
}

QVariantMap CompositionPlateScreen::gridParams()
{
    return PlateCheckQuery::params(m_session.importDate());
}
