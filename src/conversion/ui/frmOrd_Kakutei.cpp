#include "frmOrd_Kakutei.h"

#include "BusyCursor.h"
#include "Confirmation.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "Progress.h"
#include "globals.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
class OpenConnection {
public:
    OpenConnection() : m_ok(dbOpen(0) == 0) {}
    ~OpenConnection() { dbClose(0); }
    bool ok() const { return m_ok; }

private:
    bool m_ok;
};

QLineEdit *shownValue(const QString &name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QPushButton *button(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(true);
    return b;
}
} // namespace

frmOrd_Kakutei::frmOrd_Kakutei(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmOrd_Kakutei"));
    setWindowTitle(QStringLiteral("確定"));
    buildControls();
    Form_Load();
}

void frmOrd_Kakutei::buildControls()
{
    txtImpDate = shownValue(QStringLiteral("txtImpDate"));
    txtImpDate->setAlignment(Qt::AlignLeft);
    txtTotal = shownValue(QStringLiteral("txtTotal"));
    txtHenCnt = shownValue(QStringLiteral("txtHenCnt"));
    txtMiHenCnt = shownValue(QStringLiteral("txtMiHenCnt"));
    cmdOk = button(QStringLiteral("cmdOk"), QStringLiteral("OK"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    connect(cmdOk, &QPushButton::clicked, this, &frmOrd_Kakutei::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    auto *grid = new QGridLayout;
    const QList<std::pair<QString, QLineEdit *>> rows = {{QStringLiteral("処理日"), txtImpDate},
                                                         {QStringLiteral("合計"), txtTotal},
                                                         {QStringLiteral("変換済み"), txtHenCnt},
                                                         {QStringLiteral("未変換"), txtMiHenCnt}};
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows[i].first), i, 0);
        grid->addWidget(rows[i].second, i, 1);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setTabOrder(cmdOk, cmdCancel);
}

void frmOrd_Kakutei::Form_Load()
{
    BusyCursor busy;
    txtTotal->setText(QStringLiteral("0"));
    txtHenCnt->setText(QStringLiteral("0"));
    txtMiHenCnt->setText(QStringLiteral("0"));
    OpenConnection connection;
    if (connection.ok()) {
        try {
            const ConfirmationCounts counts = Confirmation::counts(*gCn, gImpDate);
            txtTotal->setText(QString::number(counts.total));
            txtHenCnt->setText(QString::number(counts.converted));
            txtMiHenCnt->setText(QString::number(counts.unconverted));
        } catch (const DbError &e) {
            appDialogs().message(e.describe(), Icon::Error);
        }
    }
    cmdOk->setFocus();
}

void frmOrd_Kakutei::Form_Activate()
{
    txtImpDate->setText(gImpDate);
}

bool frmOrd_Kakutei::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        Form_Activate();
    return QWidget::event(event);
}

void frmOrd_Kakutei::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmOrd_Kakutei::cmdOk_Click()
{
    ConfirmationCounts shown;
    shown.total = txtTotal->text().toInt();
    shown.converted = txtHenCnt->text().toInt();
    shown.unconverted = txtMiHenCnt->text().toInt();
    const QString impDate = txtImpDate->text();
    bool confirmed = false;
    {
        BusyCursor busy;
        OpenConnection connection;
        if (!connection.ok())
            return;
        Confirmation confirmation(*gCn, appDialogs(), appProgress());
        confirmed = confirmation.run(impDate, shown);
    }
    if (!confirmed)
        return;
    gWhere = Confirmation::condition(impDate);
    close();
}
