#include "QualityListScreen.h"

#include "BusyCursor.h"
#include "Db.h"
#include "Dialogs.h"
#include "PrintRequest.h"
#include "Progress.h"
#include "QualityCardReport.h"
#include "QualityCardSelection.h"
#include "QualityCsvExport.h"
#include "QualityEditScreen.h"
#include "QualityMaster.h"
#include "Session.h"

namespace {
GridColumn numbered(const char *caption, const char *field, int n, int width)
{
    return GridColumn(QString::fromUtf8(caption) + QString::number(n),
                      QualityMaster::numbered(QLatin1String(field), n), width);
}

const QString kNotConnected = QStringLiteral("データベースに接続されていません。");
} // namespace

QualityListScreen::QualityListScreen(Session &session, QWidget *parent)
    : MasterListScreen(session, QStringLiteral("品質マスタ"),
                       ScreenRegistry::key<QualityEditScreen>(), parent)
{
}

QList<GridColumn> QualityListScreen::gridColumns() const
{
    QList<GridColumn> columns = {
        GridColumn(QStringLiteral("品質キー"), QStringLiteral("QUL_KEY"), 1500).readOnly(),
        GridColumn(QStringLiteral("品質記号"), QStringLiteral("QUL_NO"), 1500).readOnly(),
        GridColumn(QStringLiteral("L2"), QStringLiteral("LAYOUT2"), 300),
        GridColumn(QStringLiteral("L3"), QStringLiteral("LAYOUT3"), 300),
        GridColumn(QStringLiteral("L4"), QStringLiteral("LAYOUT4"), 300)};
    for (int n = 1; n <= QualityMaster::kRows; ++n)
        columns << numbered("部位", "BUI", n, 1000) << numbered("組成", "SOS", n, 1000)
                << numbered("混率", "KON", n, 700); // "100%" in full
    for (int n = 1; n <= QualityMaster::kSymbols; ++n)
        columns << numbered("絵表示", "EHJ", n, 800);
    for (int n = 1; n <= QualityMaster::kNotes; ++n)
        columns << numbered("絵付記", "EFUKI", n, 1000);
    columns << GridColumn(QStringLiteral("ユーザ"), QStringLiteral("USER_NM"), 1000)
            << GridColumn(QStringLiteral("更新日"), QStringLiteral("TIME_STAMP"), 1800);
    return columns;
}

QString QualityListScreen::gridSql()
{
    return QualityMaster::listStatement();
}

std::unique_ptr<MasterTable> QualityListScreen::createTable(Db &db) const
{
    return std::make_unique<QualityMaster>(db, &appProgress());
}

QStringList QualityListScreen::functionKeyCaptions() const
{
    QStringList captions = MasterListScreen::functionKeyCaptions();
    captions[8] = QStringLiteral("CSV");
    captions[9] = QStringLiteral("印刷");
    return captions;
}

void QualityListScreen::onFunctionKey(int key)
{
    if (key == 9)
        exportCsv();
    else if (key == 10)
        print();
    else
        MasterListScreen::onFunctionKey(key);
}

void QualityListScreen::exportCsv()
{
    QualityCsvExport::Result result;
    try {
        BusyCursor busy;
        if (!m_session.db())
            throw DbError(kNotConnected, QStringLiteral("3704"));
        result = QualityCsvExport::exportCsv(*m_session.db(), m_session.installDir());
    } catch (const DbError &error) {
        dialogs().message(error.text());
        return;
    }
    if (result.outcome == Outcome::Done)
        dialogs().message(result.path + QStringLiteral(" 書き出しました。"));
    else if (result.outcome != Outcome::Unchanged) // nothing to write, nothing to say
        dialogs().message(result.message, Icon::Error);
}

void QualityListScreen::print()
{
    try {
        if (!m_session.db())
            throw DbError(kNotConnected, QStringLiteral("3704"));
        const QList<QSqlRecord> rows =
            QualityCardSelection::askAndSelect(*m_session.db(), dialogs());
        if (rows.isEmpty())
            return; // "レコードがありません。" has been said
        BusyCursor busy;
        (void)QualityCardReport::print(
            reportEngine,
            PrintRequest{*m_session.db(), appDialogs(), appProgress(), m_session.listPrinter()},
            rows);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}
