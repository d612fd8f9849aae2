#include "frmTukiSyori.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "KeyPreview.h"
#include "MonthlyRegister.h"
#include "globals.h"

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

frmTukiSyori::frmTukiSyori(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("月次処理設定"));
    setModal(true);

    txtNewNen = numberInput("txtNewNen", 4, 64, this);
    txtNewTuki = numberInput("txtNewTuki", 2, 44, this);
    cmdNew = okButton("cmdNew", this);
    txtNen = numberInput("txtNen", 4, 64, this);
    txtTuki = numberInput("txtTuki", 2, 44, this);
    cmdKakutei = okButton("cmdKakutei", this);
    txtCanNen = numberInput("txtCanNen", 4, 64, this);
    txtCanTuki = numberInput("txtCanTuki", 2, 44, this);
    cmdCancel = okButton("cmdCancel", this);

    TDBGrid1 = new QTableWidget(0, 3, this);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("済")});
    TDBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    TDBGrid1->verticalHeader()->setDefaultSectionSize(24);
    TDBGrid1->verticalHeader()->setFixedWidth(18);
    TDBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TDBGrid1->setColumnWidth(0, 70);
    TDBGrid1->setColumnWidth(1, 50);
    TDBGrid1->setColumnWidth(2, 44);
    TDBGrid1->horizontalHeader()->setStretchLastSection(true);
    TDBGrid1->setFixedWidth(204);

    auto *frames = new QVBoxLayout;
    frames->setSpacing(10);
    frames->addWidget(actionFrame(
        QStringLiteral("月次業務の新規作成"),
        QStringLiteral(
            "新たに作成する月次業務「年」・「月」を入力し「OK」をクリックしてください。"),
        txtNewNen, txtNewTuki, cmdNew, this));
    frames->addWidget(
        actionFrame(QStringLiteral("月次業務の確定"),
                    QStringLiteral("月次業務を確定する場合、「OK」をクリックしてください。"),
                    txtNen, txtTuki, cmdKakutei, this));
    frames->addWidget(actionFrame(QStringLiteral("確定の取り消し"),
                                  QStringLiteral("年月を確認し、「OK」をクリックしてください。"),
                                  txtCanNen, txtCanTuki, cmdCancel, this));
    frames->addStretch(1);
    frames->addWidget(FormLook::keyHint(QStringLiteral("Enter: 次の項目へ　Esc: 閉じる"), this));

    auto *columns = new QHBoxLayout;
    columns->setContentsMargins(16, 14, 16, 14);
    columns->setSpacing(16);
    columns->addWidget(TDBGrid1);
    columns->addLayout(frames, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("月次処理設定"),
                                         QStringLiteral("月次業務の作成・確定・取消し"), this));
    outer->addLayout(columns, 1);

    connect(cmdNew, &QPushButton::clicked, this, &frmTukiSyori::cmdNew_Click);
    connect(cmdKakutei, &QPushButton::clicked, this, &frmTukiSyori::cmdKakutei_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTukiSyori::cmdCancel_Click);
    connect(TDBGrid1, &QTableWidget::currentCellChanged, this,
            &frmTukiSyori::TDBGrid1_RowColChange);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
    FormLook::styleFrames(this);
    resize(700, 480);
    FormLook::centreOnScreen(this);
    Form_Load();
}

void frmTukiSyori::Form_Load()
{
    BusyCursor busy;
    ConnectionScope connection;
    if (connection.ok())
        PP_GridSet();
    txtNewNen->setFocus();
}

void frmTukiSyori::PP_GridSet()
{
    QList<BusinessMonth> months;
    try {
        months = MonthlyRegister(*gCn, appDialogs(), Clock::today()).months();
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
        return; // the grid keeps what it showed
    }
    const QSignalBlocker quiet(TDBGrid1);
    TDBGrid1->setRowCount(0);
    if (months.isEmpty()) {
        appDialogs().message(QStringLiteral("データがありません。"), Icon::Error);
        return;
    }
    TDBGrid1->setRowCount(int(months.size()));
    for (int r = 0; r < months.size(); ++r) {
        const QStringList cells = {months[r].nen, months[r].tuki, months[r].kakuteiFlg};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignCenter);
            TDBGrid1->setItem(r, c, item);
        }
    }
    TDBGrid1->setCurrentCell(0, 0);
    TDBGrid1_RowColChange();
}

void frmTukiSyori::TDBGrid1_RowColChange()
{
    const int row = TDBGrid1->currentRow();
    if (row < 0 || !TDBGrid1->item(row, 0))
        return;
    const QString nen = TDBGrid1->item(row, 0)->text();
    const QString tuki = TDBGrid1->item(row, 1)->text();
    const bool confirmed = TDBGrid1->item(row, 2)->text() == QLatin1String("1");
    txtCanNen->setText(confirmed ? nen : QString());
    txtCanTuki->setText(confirmed ? tuki : QString());
    txtNen->setText(confirmed ? QString() : nen);
    txtTuki->setText(confirmed ? QString() : tuki);
}

void frmTukiSyori::cmdNew_Click()
{
    QString nen = txtNewNen->text();
    QString tuki = txtNewTuki->text();
    MonthlyRegister::Outcome outcome = MonthlyRegister::Outcome::Refused;
    {
        BusyCursor busy;
        ConnectionScope connection;
        if (!connection.ok())
            return;
        try {
            outcome = MonthlyRegister(*gCn, appDialogs(), Clock::today()).createMonth(nen, tuki);
        } catch (const DbError &e) {
            appDialogs().message(e.describe(), Icon::Error);
            return;
        }
    }
    txtNewNen->setText(nen);
    txtNewTuki->setText(tuki);
    if (outcome == MonthlyRegister::Outcome::Done)
        accept();
}

void frmTukiSyori::cmdKakutei_Click()
{
    changeMonthState([this](MonthlyRegister &months) {
        return months.confirmMonth(txtNen->text(), txtTuki->text());
    });
}

void frmTukiSyori::cmdCancel_Click()
{
    changeMonthState([this](MonthlyRegister &months) {
        return months.reopenMonth(txtCanNen->text(), txtCanTuki->text());
    });
}

// Confirming or reopening a month: the list is read again when the register changed or
// already said so.
void frmTukiSyori::changeMonthState(
    const std::function<MonthlyRegister::Outcome(MonthlyRegister &)> &change)
{
    BusyCursor busy;
    ConnectionScope connection;
    if (!connection.ok())
        return;
    try {
        MonthlyRegister months(*gCn, appDialogs(), Clock::today());
        const auto outcome = change(months);
        if (outcome == MonthlyRegister::Outcome::Done ||
            outcome == MonthlyRegister::Outcome::Unchanged)
            PP_GridSet();
    } catch (const DbError &e) {
        appDialogs().message(e.describe(), Icon::Error);
    }
}

bool frmTukiSyori::onKey(QKeyEvent *event)
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
