#include "MonthlyRegisterScreen.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "KeyPreview.h"
#include "MonthlyRegister.h"
#include "Session.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QLineEdit *numberInput(const char *name, int maxLength, int width, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setFixedWidth(width);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QPushButton *okButton(const char *name, QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("OK"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false); // Enter is the screen's own key (moves on)
    button->setMinimumWidth(80);
    return button;
}

// A frame: guide text, then year 年 month 月 and the frame's OK button on one line.
QGroupBox *actionFrame(const QString &title, const QString &guide, QLineEdit *nen, QLineEdit *tuki,
                       QPushButton *ok, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *guideLabel = new QLabel(guide, box);
    guideLabel->setWordWrap(true);
    guideLabel->setStyleSheet(QStringLiteral("color: #44546a;"));
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(nen);
    row->addWidget(new QLabel(QStringLiteral("年"), box));
    row->addSpacing(8);
    row->addWidget(tuki);
    row->addWidget(new QLabel(QStringLiteral("月"), box));
    row->addStretch(1);
    row->addWidget(ok);
    auto *layout = new QVBoxLayout(box);
    layout->setSpacing(8);
    layout->addWidget(guideLabel);
    layout->addLayout(row);
    return box;
}
} // namespace

MonthlyRegisterScreen::MonthlyRegisterScreen(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("月次処理設定"));
    setModal(true);

    newYearEdit = numberInput("newYearEdit", 4, 64, this);
    newMonthEdit = numberInput("newMonthEdit", 2, 44, this);
    newMonthButton = okButton("newMonthButton", this);
    confirmYearEdit = numberInput("confirmYearEdit", 4, 64, this);
    confirmMonthEdit = numberInput("confirmMonthEdit", 2, 44, this);
    confirmButton = okButton("confirmButton", this);
    reopenYearEdit = numberInput("reopenYearEdit", 4, 64, this);
    reopenMonthEdit = numberInput("reopenMonthEdit", 2, 44, this);
    reopenButton = okButton("reopenButton", this);

    gridView = new QTableWidget(0, 3, this);
    gridView->setObjectName(QStringLiteral("gridView"));
    gridView->setHorizontalHeaderLabels(
        {QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("済")});
    gridView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridView->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridView->setSelectionMode(QAbstractItemView::SingleSelection);
    gridView->verticalHeader()->setDefaultSectionSize(24);
    gridView->verticalHeader()->setFixedWidth(18);
    gridView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridView->setColumnWidth(0, 70);
    gridView->setColumnWidth(1, 50);
    gridView->setColumnWidth(2, 44);
    gridView->horizontalHeader()->setStretchLastSection(true);
    gridView->setFixedWidth(204);

    auto *frames = new QVBoxLayout;
    frames->setSpacing(10);
    frames->addWidget(actionFrame(
        QStringLiteral("月次業務の新規作成"),
        QStringLiteral(
            "新たに作成する月次業務「年」・「月」を入力し「OK」をクリックしてください。"),
        newYearEdit, newMonthEdit, newMonthButton, this));
    frames->addWidget(
        actionFrame(QStringLiteral("月次業務の確定"),
                    QStringLiteral("月次業務を確定する場合、「OK」をクリックしてください。"),
                    confirmYearEdit, confirmMonthEdit, confirmButton, this));
    frames->addWidget(actionFrame(QStringLiteral("確定の取り消し"),
                                  QStringLiteral("年月を確認し、「OK」をクリックしてください。"),
                                  reopenYearEdit, reopenMonthEdit, reopenButton, this));
    frames->addStretch(1);
    frames->addWidget(FormLook::keyHint(QStringLiteral("Enter: 次の項目へ　Esc: 閉じる"), this));

    auto *columns = new QHBoxLayout;
    columns->setContentsMargins(16, 14, 16, 14);
    columns->setSpacing(16);
    columns->addWidget(gridView);
    columns->addLayout(frames, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("月次処理設定"),
                                         QStringLiteral("月次業務の作成・確定・取消し"), this));
    outer->addLayout(columns, 1);

    connect(newMonthButton, &QPushButton::clicked, this, &MonthlyRegisterScreen::onNewMonth);
    connect(confirmButton, &QPushButton::clicked, this, &MonthlyRegisterScreen::onConfirm);
    connect(reopenButton, &QPushButton::clicked, this, &MonthlyRegisterScreen::onReopen);
    connect(gridView, &QTableWidget::currentCellChanged, this,
            &MonthlyRegisterScreen::onGridRowChanged);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
    FormLook::styleFrames(this);
    resize(700, 480);
    FormLook::centreOnScreen(this);
    initialise();
}

void MonthlyRegisterScreen::initialise()
{
    BusyCursor busy;
    ConnectionScope connection(m_session);
    if (connection.ok())
        fillGrid();
    newYearEdit->setFocus();
}

void MonthlyRegisterScreen::fillGrid()
{
    QList<BusinessMonth> months;
    try {
        months = MonthlyRegister(*m_session.db(), appDialogs(), Clock::today()).months();
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
        return; // the grid keeps what it showed
    }
    const QSignalBlocker quiet(gridView);
    gridView->setRowCount(0);
    if (months.isEmpty()) {
        appDialogs().message(QStringLiteral("データがありません。"), Icon::Error);
        return;
    }
    gridView->setRowCount(int(months.size()));
    for (int r = 0; r < months.size(); ++r) {
        const QStringList cells = {months[r].nen, months[r].tuki, months[r].kakuteiFlg};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignCenter);
            gridView->setItem(r, c, item);
        }
    }
    gridView->setCurrentCell(0, 0);
    onGridRowChanged();
}

void MonthlyRegisterScreen::onGridRowChanged()
{
    const int row = gridView->currentRow();
    if (row < 0 || !gridView->item(row, 0))
        return;
    const QString nen = gridView->item(row, 0)->text();
    const QString tuki = gridView->item(row, 1)->text();
    const bool confirmed = gridView->item(row, 2)->text() == QLatin1String("1");
    reopenYearEdit->setText(confirmed ? nen : QString());
    reopenMonthEdit->setText(confirmed ? tuki : QString());
    confirmYearEdit->setText(confirmed ? QString() : nen);
    confirmMonthEdit->setText(confirmed ? QString() : tuki);
}

void MonthlyRegisterScreen::onNewMonth()
{
    QString nen = newYearEdit->text();
    QString tuki = newMonthEdit->text();
    // A typing mistake is answered before the database is opened.
    const bool typedWell = MonthlyRegister::acceptNewMonthInput(appDialogs(), nen, tuki);
    newYearEdit->setText(nen);
    newMonthEdit->setText(tuki);
    if (!typedWell)
        return;
    Outcome outcome = Outcome::Refused;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok())
            return;
        try {
            outcome = MonthlyRegister(*m_session.db(), appDialogs(), Clock::today())
                          .createMonth(nen, tuki);
        } catch (const DbError &e) {
            appDialogs().message(e.describe(), Icon::Error);
            return;
        }
    }
    newYearEdit->setText(nen);
    newMonthEdit->setText(tuki);
    if (outcome == Outcome::Done)
        accept();
}

void MonthlyRegisterScreen::onConfirm()
{
    if (!MonthlyRegister::hasMonthInput(appDialogs(), confirmYearEdit->text(),
                                        confirmMonthEdit->text()))
        return;
    changeMonthState([this](MonthlyRegister &months) {
        return months.confirmMonth(confirmYearEdit->text(), confirmMonthEdit->text());
    });
}

void MonthlyRegisterScreen::onReopen()
{
    if (!MonthlyRegister::hasMonthInput(appDialogs(), reopenYearEdit->text(),
                                        reopenMonthEdit->text()))
        return;
    changeMonthState([this](MonthlyRegister &months) {
        return months.reopenMonth(reopenYearEdit->text(), reopenMonthEdit->text());
    });
}

// Confirming or reopening a month: the list is read again when the register changed or
// already said so.
void MonthlyRegisterScreen::changeMonthState(
    const std::function<Outcome(MonthlyRegister &)> &change)
{
    BusyCursor busy;
    ConnectionScope connection(m_session);
    if (!connection.ok())
        return;
    try {
        MonthlyRegister months(*m_session.db(), appDialogs(), Clock::today());
        const auto outcome = change(months);
        if (outcome == Outcome::Done || outcome == Outcome::Unchanged)
            fillGrid();
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
    }
}

bool MonthlyRegisterScreen::onKey(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto *button = qobject_cast<QPushButton *>(focusWidget())) {
        button->click();
        return true;
    }
    // Year -> month -> the frame's OK.
    focusNextChild();
    return true;
}
