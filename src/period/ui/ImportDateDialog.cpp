#include "ImportDateDialog.h"

#include "BusyCursor.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "ImportDates.h"
#include "KeyPreview.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

class CompositionPlateScreen;
class ConfirmationScreen;
class ConversionScreen;
class ImportScreen;
class OrderEditScreen;
class SizePlateScreen;

namespace {
constexpr int kRowTwips = 400;
constexpr int kWidthTwips = 6000;
constexpr int kDateColumnTwips = 2000;
constexpr int kMemoColumnTwips = 3600;
} // namespace

const QList<ImportDateDialog::RelatedScreen> &ImportDateDialog::relatedScreens()
{
    static const QList<RelatedScreen> screens = {
        {ScreenRegistry::key<OrderEditScreen>(), QStringLiteral("受注データ修正")},
        {ScreenRegistry::key<ImportScreen>(), QStringLiteral("受注データ取込")},
        {ScreenRegistry::key<ConversionScreen>(), QStringLiteral("変換")},
        {ScreenRegistry::key<ConfirmationScreen>(), QStringLiteral("確定")},
        {ScreenRegistry::key<SizePlateScreen>(), QStringLiteral("サイズ版チェック")},
        {ScreenRegistry::key<CompositionPlateScreen>(), QStringLiteral("組成版チェック")}};
    return screens;
}

int ImportDateDialog::heightTwips(int rows)
{
    return kRowTwips * rows + 370;
}

int ImportDateDialog::twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

ImportDateDialog::ImportDateDialog(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("処理日選択"));
    setModal(true);

    gridView = new QTableWidget(0, 2, this);
    gridView->setObjectName(QStringLiteral("gridView"));
    gridView->setHorizontalHeaderLabels({QStringLiteral("処理日"), QStringLiteral("メモ")});
    gridView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridView->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridView->setSelectionMode(QAbstractItemView::SingleSelection);
    gridView->setFrameShape(QFrame::NoFrame);
    gridView->setColumnWidth(0, twipsToPixels(kDateColumnTwips));
    gridView->setColumnWidth(1, twipsToPixels(kMemoColumnTwips));
    gridView->horizontalHeader()->setFixedHeight(22);
    gridView->horizontalHeader()->setStretchLastSection(true);
    gridView->verticalHeader()->setFixedWidth(14);
    gridView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridView->verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowTwips));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gridView);

    connect(gridView, &QTableWidget::cellDoubleClicked, this, [this] { acceptSelection(); });
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
}

void ImportDateDialog::openModal()
{
    m_outcome = Outcome::Failed;
    try {
        if (relatedScreenOpen()) {
            m_outcome = Outcome::Refused;
            return;
        }
        {
            BusyCursor busy;
            ConnectionScope connection(m_session);
            if (connection.ok())
                m_outcome = loadImportDates();
        }
        if (m_outcome != Outcome::Done)
            return;
        // Closing the list without a choice is a No; acceptSelection makes it Done.
        m_outcome = Outcome::Declined;
        // The caller reads outcome() after the picker closes: keep this instance until then.
        setAttribute(Qt::WA_DeleteOnClose, false);
        gridView->setFocus();
        exec();
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
        m_outcome = Outcome::Failed;
    }
}

bool ImportDateDialog::relatedScreenOpen()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    for (const RelatedScreen &screen : relatedScreens()) {
        if (registry.isOpen(registry.formName(screen.key))) {
            // Which window to close is the operator's next question: the last line answers it.
            appDialogs().message(QStringLiteral("関連フォームが開いてます。\n閉じてから実行してくだ"
                                                "さい。\n（開いている画面: ") +
                                     screen.caption + QStringLiteral("）"),
                                 Icon::Error);
            return true;
        }
    }
    return false;
}

Outcome ImportDateDialog::loadImportDates()
{
    QStringList dates;
    try {
        dates = ImportDates::unconfirmed(*m_session.db());
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    if (dates.isEmpty()) {
        appDialogs().message(QStringLiteral("データがありません。"), Icon::Error);
        return Outcome::Refused;
    }
    gridView->setRowCount(int(dates.size()));
    for (int r = 0; r < dates.size(); ++r) {
        gridView->setItem(r, 0, new QTableWidgetItem(dates[r]));
        gridView->setItem(r, 1, new QTableWidgetItem(QString()));
    }
    gridView->setCurrentCell(0, 0);

    int height = twipsToPixels(heightTwips(int(dates.size())));
    // Many open imports: the window stops at the screen's edge and the list scrolls.
    if (QScreen *where = screen())
        height = qMin(height, where->availableGeometry().height() - 80);
    setFixedSize(twipsToPixels(kWidthTwips), height);
    return Outcome::Done;
}

void ImportDateDialog::acceptSelection()
{
    const int row = gridView->currentRow();
    const QString date =
        row >= 0 && gridView->item(row, 0) ? gridView->item(row, 0)->text() : QString();
    if (date.isEmpty()) {
        appDialogs().message(QStringLiteral("???"), Icon::Error);
        return;
    }
    m_session.setImportDate(date);
    m_session.setOrderCondition(ImportDates::whereFor(date));
    m_outcome = Outcome::Done;
    accept();
}

void ImportDateDialog::cancel()
{
    m_outcome = Outcome::Declined;
    reject();
}

bool ImportDateDialog::onKey(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        cancel();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The grid is the picker's focus (it is given it on opening).
        if (focusWidget() == gridView) {
            acceptSelection();
            return true;
        }
        return false;
    default:
        return false;
    }
}
