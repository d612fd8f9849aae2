#include "RunHistoryScreen.h"

#include "BusyCursor.h"
#include "Db.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "HistoryTables.h"
#include "Progress.h"
#include "ReportLists.h"
#include "RunList.h"
#include "RunReprint.h"
#include "Session.h"

#include <QDir>

namespace {
const QString kImpDate = QStringLiteral("処理日");
const QString kStamp = QStringLiteral("変換日時");

GridColumn column(const char *caption, int width)
{
    const QString name = QString::fromUtf8(caption);
    return GridColumn(name, name, width).readOnly();
}

// "1", "１", "受注情報" or "OrderList" -> "OrderList".
std::optional<QString> listOf(const QString &answer)
{
    const QStringList kinds = ReportLists::kinds();
    const QString typed = answer.trimmed();
    if (typed.size() == 1 && typed.at(0).digitValue() >= 1 &&
        typed.at(0).digitValue() <= kinds.size())
        return kinds.at(typed.at(0).digitValue() - 1);
    for (const QString &kind : kinds)
        if (typed == kind || typed == ReportLists::caption(kind))
            return kind;
    return std::nullopt;
}
} // namespace

RunHistoryScreen::RunHistoryScreen(Session &session, QWidget *parent) : GridScreen(session, parent)
{
    setWindowTitle(QStringLiteral("実行履歴"));
    setFormSizeTwips(13500, 8000);
    setRecordCountInToolTip(true);
}

QList<GridColumn> RunHistoryScreen::gridColumns() const
{
    return {column("処理日", 1000),
            column("変換日時", 2000),
            column("状態", 700),
            column("担当者", 1200),
            column("端末", 1300),
            column("生産機種", 1000),
            column("セット日From", 1500),
            column("セット日To", 1300),
            column("特定変換", 1000),
            column("発注レコード件数", 1800),
            column("ネーム版下件数", 1700),
            column("印字データ件数", 1700),
            column("レポート件数", 1400),
            column("状態変更者", 1300),
            column("状態変更日時", 2000)};
}

QString RunHistoryScreen::gridSql()
{
    return RunList::gridSql();
}

QStringList RunHistoryScreen::functionKeyCaptions() const
{
    return {QStringLiteral("終了"),     QString(), QString(), QStringLiteral("再印刷"),
            QStringLiteral("フォルダ"), QString(), QString(), QStringLiteral("EXCEL")};
}

bool RunHistoryScreen::fillGrid()
{
    try {
        if (m_session.db() && !HistoryTables::present(*m_session.db())) {
            dialogs().message(HistoryTables::missingText(), Icon::Error);
            return false;
        }
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
        return false;
    }
    return GridScreen::fillGrid();
}

void RunHistoryScreen::onFunctionKey(int key)
{
    switch (key) {
    case 4:
        reprint();
        break;
    case 5:
        openFolders();
        break;
    case 8:
        excelOut();
        break;
    default:
        GridScreen::onFunctionKey(key);
    }
}

QString RunHistoryScreen::listPrompt()
{
    return QStringLiteral("再印刷するリストの番号を入力してください。\n"
                          "1: 受注情報\n2: ネーム生産情報\n3: 合計表");
}

std::optional<QString> RunHistoryScreen::askList()
{
    const std::optional<QString> answer =
        dialogs().input(listPrompt(), QStringLiteral("再印刷"), QStringLiteral("1"));
    if (!answer)
        return std::nullopt;
    const std::optional<QString> kind = listOf(*answer);
    if (!kind)
        dialogs().message(QStringLiteral("1から3の番号を入力してください。"), Icon::Error);
    return kind;
}

bool RunHistoryScreen::hasCurrentRun()
{
    if (!columnText(kImpDate).isEmpty() && m_session.db())
        return true;
    dialogs().message(QStringLiteral("レコードがありません。"), Icon::Error);
    return false;
}

void RunHistoryScreen::reprint()
{
    if (!hasCurrentRun())
        return;
    const QString impDate = columnText(kImpDate);
    const QString stamp = columnText(kStamp);
    const std::optional<QString> kind = askList();
    if (!kind)
        return;
    BusyCursor busy;
    const PrintRequest request{*m_session.db(), dialogs(), appProgress(), m_session.listPrinter()};
    (void)RunReprint::print(*kind, reportEngine, request, impDate, stamp);
}

void RunHistoryScreen::openFolders()
{
    if (!hasCurrentRun())
        return;
    QStringList folders;
    try {
        folders = RunList::folders(*m_session.db(), columnText(kImpDate), columnText(kStamp));
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
        return;
    }
    if (folders.isEmpty()) {
        dialogs().message(QStringLiteral("レコードがありません。"), Icon::Error);
        return;
    }
    for (const QString &folder : folders) {
        if (QDir(folder).exists())
            Desktop::openOrTell(folder, dialogs());
        else
            dialogs().message(QStringLiteral("フォルダが見つかりません。") + QStringLiteral("\n") +
                                  folder,
                              Icon::Error);
    }
}
