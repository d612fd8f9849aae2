#include "LineHistoryScreen.h"

#include "AuditTrail.h"
#include "BusyCursor.h"
#include "Db.h"
#include "Dialogs.h"
#include "HistoryWrite.h"
#include "Session.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

LineHistoryScreen::LineHistoryScreen(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("履歴"));
    lineLabel = new QLabel(this);
    lineLabel->setObjectName(QStringLiteral("lineLabel"));
    historyGrid = new QTableWidget(0, 5, this);
    historyGrid->setObjectName(QStringLiteral("historyGrid"));
    historyGrid->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("担当者"),
                                            QStringLiteral("項目"), QStringLiteral("変更前"),
                                            QStringLiteral("変更後")});
    historyGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historyGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    historyGrid->verticalHeader()->setVisible(false);
    historyGrid->horizontalHeader()->setStretchLastSection(true);
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *page = new QVBoxLayout(this);
    page->addWidget(lineLabel);
    page->addWidget(historyGrid, 1);
    page->addLayout(buttons);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    setModal(true);
    resize(760, 360);
}

void LineHistoryScreen::openModal(const QString &impDate, const QString &impLn)
{
    if (!fillHistory(impDate, impLn)) {
        deleteLater();
        return;
    }
    historyGrid->setFocus();
    exec();
}

bool LineHistoryScreen::fillHistory(const QString &impDate, const QString &impLn)
{
    Dialogs &dialogs = appDialogs();
    QList<AuditEntry> entries;
    {
        BusyCursor busy;
        try {
            if (!m_session.db())
                throw DbError(QStringLiteral("データベースに接続されていません。"),
                              QStringLiteral("3704"));
            entries = AuditTrail::entries(*m_session.db(), impDate, impLn.toInt());
        } catch (const DbError &e) {
            dialogs.message(m_session.db()
                                ? HistoryWrite::failureText(*m_session.db(), e.describe())
                                : e.text(),
                            Icon::Error);
            return false;
        }
    }
    if (entries.isEmpty()) {
        dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return false;
    }
    lineLabel->setText(QStringLiteral("処理日 ") + impDate + QStringLiteral("　行 ") + impLn);
    historyGrid->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        const AuditEntry &e = entries.at(row);
        const QStringList cells = {e.at, e.user, AuditTrail::caption(e.column), e.oldValue,
                                   e.newValue};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setToolTip(e.kind + QStringLiteral(" / ") + e.computer);
            historyGrid->setItem(row, c, item);
        }
    }
    historyGrid->resizeColumnsToContents();
    historyGrid->setCurrentCell(int(entries.size()) - 1, 0);
    return true;
}
