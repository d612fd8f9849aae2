#include "CompositionPlateScreen.h"

#include "Db.h"
#include "FunctionKeyBar.h"
#include "GridView.h"
#include "Session.h"
#include "Utilities.h"

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
                             Plate{QStringLiteral("組成版チェック"), QStringLiteral("QUL_KEY"),
                                   QStringLiteral("品質キー"), QStringLiteral("MST_QULPLATE"),
                                   QStringLiteral("MST_QULPLATE.QUL_KEY Is Null "),
                                   QStringLiteral("MST_QULPLATE.SU = 0  ")},
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
            GridColumn(m_plate.keyCaption, m_plate.keyField, 2000).readOnly()};
}

// A letterpress line is listed when its key has no master row, or a master row without a
// plate. Lines of one control number stay together, in line order.
QString CompositionPlateScreen::gridSql()
{
    const QString &key = m_plate.keyField;
    const QString &master = m_plate.master;
    // The day is bound once per branch (:d1, :d2): the PostgreSQL driver takes each placeholder
    // once.
    auto branch = [&](const QString &join, const QString &condition, const QString &date) {
        return QStringLiteral("Select ") + QStringLiteral("TBL_ORDER.KNR_NO,") +
               QStringLiteral("TBL_ORDER.") + key + QStringLiteral(",") +
               QStringLiteral("TBL_ORDER.IMP_LN ") + QStringLiteral("From ") +
               QStringLiteral("TBL_ORDER ") + join + QLatin1Char(' ') + master +
               QStringLiteral(" On ") + QStringLiteral("TBL_ORDER.") + key + QStringLiteral(" = ") +
               master + QLatin1Char('.') + key + QLatin1Char(' ') + QStringLiteral("Where ") +
               QStringLiteral("TBL_ORDER.IMP_DATE = ") + date + QStringLiteral(" And ") +
               QStringLiteral("TBL_ORDER.DATA_FLG = '0' And ") + condition;
    };
    // Control numbers in number order (AB-999 before AB-1000): both engines order a union
    // only by its output columns, so the union is read as a table.
    return QStringLiteral("Select * From (") +
           branch(QStringLiteral("Left Join"), m_plate.missing, QStringLiteral(":d1")) +
           QStringLiteral("Union All ") +
           branch(QStringLiteral("Inner Join"), m_plate.withoutPlate, QStringLiteral(":d2")) +
           QStringLiteral(") P Order By ") + controlNumberOrder(QStringLiteral("P.KNR_NO")) +
           QStringLiteral(", P.IMP_LN ");
}

QVariantMap CompositionPlateScreen::gridParams()
{
    return {{QStringLiteral("d1"), m_session.importDate()},
            {QStringLiteral("d2"), m_session.importDate()}};
}
