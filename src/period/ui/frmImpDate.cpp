#include "frmImpDate.h"

#include "BusyCursor.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "ImportDates.h"
#include "KeyPreview.h"
#include "ScreenRegistry.h"
#include "globals.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kRowTwips = 400;
constexpr int kWidthTwips = 6000;
constexpr int kDateColumnTwips = 2000;
constexpr int kMemoColumnTwips = 3600;
} // namespace

const QStringList &frmImpDate::relatedForms()
{
    static const QStringList names = {
        QStringLiteral("frmOrd_Edit"),      QStringLiteral("frmOrd_Imp"),
        QStringLiteral("frmOrd_Henkan"),    QStringLiteral("frmOrd_Kakutei"),
        QStringLiteral("frmHan_SizeCheck"), QStringLiteral("frmHan_SoseiCheck")};
    return names;
}

int frmImpDate::heightTwips(int rows)
{
    return kRowTwips * rows + 370;
}

int frmImpDate::twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

frmImpDate::frmImpDate(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("処理日選択"));
    setModal(true);

    TDBGrid1 = new QTableWidget(0, 2, this);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setHorizontalHeaderLabels({QStringLiteral("処理日"), QStringLiteral("メモ")});
    TDBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    TDBGrid1->setFrameShape(QFrame::NoFrame);
    TDBGrid1->setColumnWidth(0, twipsToPixels(kDateColumnTwips));
    TDBGrid1->setColumnWidth(1, twipsToPixels(kMemoColumnTwips));
    TDBGrid1->horizontalHeader()->setFixedHeight(22);
    TDBGrid1->horizontalHeader()->setStretchLastSection(true);
    TDBGrid1->verticalHeader()->setFixedWidth(14);
    TDBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TDBGrid1->verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowTwips));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TDBGrid1);

    connect(TDBGrid1, &QTableWidget::cellDoubleClicked, this, [this] { PP_Select(); });
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
}

void frmImpDate::MP_Open()
{
    m_cancelValue = 1;
    try {
        if (PF_RelatedFormsOpen())
            return;
        int failed = 1;
        {
            BusyCursor busy;
            ConnectionScope connection;
            if (connection.ok())
                failed = PF_LoadImpDates();
        }
        if (failed)
            return;
        // The caller reads m_cancel after the picker closes: keep this instance until then.
        setAttribute(Qt::WA_DeleteOnClose, false);
        TDBGrid1->setFocus();
        exec();
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
        m_cancelValue = 1;
    }
}

bool frmImpDate::PF_RelatedFormsOpen()
{
    for (const QString &name : relatedForms()) {
        if (ScreenRegistry::instance().isOpen(name)) {
            appDialogs().message(
                QStringLiteral("関連フォームが開いてます。\n閉じてから実行してください。"),
                Icon::Error);
            return true;
        }
    }
    return false;
}

int frmImpDate::PF_LoadImpDates()
{
    gSQL = QStringLiteral(
        "Select IMP_DATE From SYS_IMPDATE Where KAKUTEI_FLG = '0' Order By IMP_DATE DESC");
    QStringList dates;
    try {
        dates = ImportDates::unconfirmed(*gCn);
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
        return 1;
    }
    if (dates.isEmpty()) {
        appDialogs().message(QStringLiteral("データがありません。"), Icon::Error);
        return 1;
    }
    TDBGrid1->setRowCount(int(dates.size()));
    for (int r = 0; r < dates.size(); ++r) {
        TDBGrid1->setItem(r, 0, new QTableWidgetItem(dates[r]));
        TDBGrid1->setItem(r, 1, new QTableWidgetItem(QString()));
    }
    TDBGrid1->setCurrentCell(0, 0);

    int height = twipsToPixels(heightTwips(int(dates.size())));
    // Many open imports: the window stops at the screen's edge and the list scrolls.
    if (QScreen *where = screen())
        height = qMin(height, where->availableGeometry().height() - 80);
    setFixedSize(twipsToPixels(kWidthTwips), height);
    return 0;
}

void frmImpDate::PP_Select()
{
    const int row = TDBGrid1->currentRow();
    const QString date =
        row >= 0 && TDBGrid1->item(row, 0) ? TDBGrid1->item(row, 0)->text() : QString();
    if (date.isEmpty()) {
        appDialogs().message(QStringLiteral("???"), Icon::Error);
        return;
    }
    gImpDate = date;
    gWhere = ImportDates::whereFor(date);
    m_cancelValue = 0;
    accept();
}

void frmImpDate::cancel()
{
    m_cancelValue = 1;
    reject();
}

bool frmImpDate::onKey(QKeyEvent *event)
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
        if (focusWidget() == TDBGrid1) {
            PP_Select();
            return true;
        }
        return false;
    default:
        return false;
    }
}
