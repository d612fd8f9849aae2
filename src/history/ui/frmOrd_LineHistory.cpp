#include "frmOrd_LineHistory.h"

#include "AuditTrail.h"
#include "BusyCursor.h"
#include "Db.h"
#include "Dialogs.h"
#include "HistoryWrite.h"
#include "globals.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

frmOrd_LineHistory::frmOrd_LineHistory(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("履歴"));
    lblLine = new QLabel(this);
    lblLine->setObjectName(QStringLiteral("lblLine"));
    grdHistory = new QTableWidget(0, 5, this);
    grdHistory->setObjectName(QStringLiteral("grdHistory"));
    grdHistory->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("担当者"),
                                           QStringLiteral("項目"), QStringLiteral("変更前"),
                                           QStringLiteral("変更後")});
    grdHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdHistory->verticalHeader()->setVisible(false);
    grdHistory->horizontalHeader()->setStretchLastSection(true);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *page = new QVBoxLayout(this);
    page->addWidget(lblLine);
    page->addWidget(grdHistory, 1);
    page->addLayout(buttons);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    setModal(true);
    resize(760, 360);
}

void frmOrd_LineHistory::MP_Open(const QString &impDate, const QString &impLn)
{
    if (!PF_Fill(impDate, impLn)) {
        deleteLater();
        return;
    }
    grdHistory->setFocus();
    exec();
}

bool frmOrd_LineHistory::PF_Fill(const QString &impDate, const QString &impLn)
{
    Dialogs &dialogs = appDialogs();
    QList<AuditEntry> entries;
    {
        BusyCursor busy;
        try {
            if (!gCn)
                throw DbError(QStringLiteral("データベースに接続されていません。"),
                              QStringLiteral("3704"));
            entries = AuditTrail::entries(*gCn, impDate, impLn.toInt());
        } catch (const DbError &e) {
            dialogs.message(gCn ? HistoryWrite::failureText(*gCn, e.describe()) : e.text(),
                            Icon::Error);
            return false;
        }
    }
    if (entries.isEmpty()) {
        dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return false;
    }
    lblLine->setText(QStringLiteral("処理日 ") + impDate + QStringLiteral("　行 ") + impLn);
    grdHistory->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        const AuditEntry &e = entries.at(row);
        const QStringList cells = {e.at, e.user, AuditTrail::caption(e.column), e.oldValue,
                                   e.newValue};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setToolTip(e.kind + QStringLiteral(" / ") + e.computer);
            grdHistory->setItem(row, c, item);
        }
    }
    grdHistory->resizeColumnsToContents();
    grdHistory->setCurrentCell(int(entries.size()) - 1, 0);
    return true;
}
