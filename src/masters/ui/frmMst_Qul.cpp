#include "frmMst_Qul.h"

#include "BusyCursor.h"
#include "Db.h"
#include "Dialogs.h"
#include "PrintRequest.h"
#include "Progress.h"
#include "QulCsvExport.h"
#include "QulMaster.h"
#include "QulMstSelection.h"
#include "basPrn_QulMst.h"
#include "globals.h"

namespace {
GridColumn numbered(const char *caption, const char *field, int n, int width)
{
    return GridColumn(QString::fromUtf8(caption) + QString::number(n),
                      QulMaster::numbered(QLatin1String(field), n), width);
}

const QString kNotConnected = QStringLiteral("データベースに接続されていません。");
} // namespace

frmMst_Qul::frmMst_Qul(QWidget *parent)
    : MasterListScreen(QStringLiteral("品質マスタ"), QStringLiteral("frmMst_QulEdit"), parent)
{
}

QList<GridColumn> frmMst_Qul::gridColumns() const
{
    QList<GridColumn> columns = {
        GridColumn(QStringLiteral("品質キー"), QStringLiteral("QUL_KEY"), 1500).readOnly(),
        GridColumn(QStringLiteral("品質記号"), QStringLiteral("QUL_NO"), 1500).readOnly(),
        GridColumn(QStringLiteral("L2"), QStringLiteral("LAYOUT2"), 300),
        GridColumn(QStringLiteral("L3"), QStringLiteral("LAYOUT3"), 300),
        GridColumn(QStringLiteral("L4"), QStringLiteral("LAYOUT4"), 300)};
    for (int n = 1; n <= QulMaster::kRows; ++n)
        columns << numbered("部位", "BUI", n, 1000) << numbered("組成", "SOS", n, 1000)
                << numbered("混率", "KON", n, 700); // "100%" in full
    for (int n = 1; n <= QulMaster::kSymbols; ++n)
        columns << numbered("絵表示", "EHJ", n, 800);
    for (int n = 1; n <= QulMaster::kNotes; ++n)
        columns << numbered("絵付記", "EFUKI", n, 1000);
    columns << GridColumn(QStringLiteral("ユーザ"), QStringLiteral("USER_NM"), 1000)
            << GridColumn(QStringLiteral("更新日"), QStringLiteral("TIME_STAMP"), 1800);
    return columns;
}

QString frmMst_Qul::gridSql()
{
    return QStringLiteral("Select * From MST_QUL ") + QStringLiteral("Order By QUL_KEY ");
}

std::unique_ptr<MasterTable> frmMst_Qul::createTable(Db &db) const
{
    return std::make_unique<QulMaster>(db, &appProgress());
}

QStringList frmMst_Qul::functionKeyCaptions() const
{
    QStringList captions = MasterListScreen::functionKeyCaptions();
    captions[8] = QStringLiteral("CSV");
    captions[9] = QStringLiteral("印刷");
    return captions;
}

void frmMst_Qul::onFunctionKey(int key)
{
    if (key == 9)
        PP_CsvOut();
    else if (key == 10)
        PP_Print();
    else
        MasterListScreen::onFunctionKey(key);
}

void frmMst_Qul::PP_CsvOut()
{
    QulCsvExport::Result result;
    try {
        BusyCursor busy;
        if (!gCn)
            throw DbError(kNotConnected, QStringLiteral("3704"));
        result = QulCsvExport::PP_CsvOut(*gCn, gInstallDir);
    } catch (const DbError &error) {
        dialogs().message(error.text());
        return;
    }
    switch (result.status) {
    case QulCsvExport::Result::Empty:
        break; // nothing to write, nothing to say
    case QulCsvExport::Result::Written:
        dialogs().message(result.path + QStringLiteral(" 書き出しました。"));
        break;
    case QulCsvExport::Result::Refused:
        dialogs().message(result.message, Icon::Error);
        break;
    }
}

void frmMst_Qul::PP_Print()
{
    try {
        if (!gCn)
            throw DbError(kNotConnected, QStringLiteral("3704"));
        const QList<QSqlRecord> rows = QulMstSelection::MF_AskAndSelect(*gCn, dialogs());
        if (rows.isEmpty())
            return; // "レコードがありません。" has been said
        BusyCursor busy;
        basPrn_QulMst::MF_Print(CrDraw1, PrintRequest{*gCn, appDialogs(), appProgress(), gLPrinter},
                                rows);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}
