#include "ReportModule.h"

#include "Db.h"
#include "Dialogs.h"
#include "Installation.h"
#include "Progress.h"
#include "ReportEngine.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportPrintSettings.h"
#include "ReportValues.h"

namespace {
const QString kInitTitle = QStringLiteral("プリントモジュール内の初期化処理");
}

QString ReportModule::layoutPath(const QString &kind)
{
    return Installation::dataFile(QStringLiteral("sys_crf/cor_") + kind + QStringLiteral(".crf"));
}

ReportModule::ReportModule(ReportEngine &CrDraw1, const PrintRequest &request, QString kind)
    : m_engine(CrDraw1), m_request(request), m_kind(std::move(kind))
{
}

int ReportModule::MF_PrintInit()
{
    Dialogs &dialogs = m_request.dialogs;
    try {
        if (m_engine.EngineInit() != 0) {
            dialogs.message(QStringLiteral("シーオーリポーツ初期化失敗。"), Icon::Error,
                            kInitTitle);
            return 1;
        }
        if (m_engine.JobStart(m_kind, m_request.printer) != 0) {
            dialogs.message(QStringLiteral("プリンタ名が正しくありません。"), Icon::Error,
                            kInitTitle);
            return 1;
        }
        m_engine.PrintSettings().setCopies(1);
        m_layout = &m_engine.LayoutOpen(layoutPath(m_kind));
        if (m_engine.PrintSettings().PaperApply(*m_layout) != 0) {
            dialogs.message(QStringLiteral("用紙サイズに設定エラー"), Icon::Error, kInitTitle);
            return 1;
        }
        return 0;
    } catch (const ReportError &e) {
        dialogs.message(QStringLiteral("予期しないエラーが発生しました。\r\n\r\n") +
                            e.description(),
                        Icon::Error, QStringLiteral("印刷を強制終了"));
    } catch (const std::exception &e) {
        dialogs.message(QStringLiteral("予期しないエラーが発生しました。\r\n\r\n") +
                            QString::fromLocal8Bit(e.what()),
                        Icon::Error, QStringLiteral("印刷を強制終了"));
    }
    return 1;
}

int ReportModule::MF_PrintRun()
{
    m_page = 0;
    if (MF_PrintInit() != 0) {
        m_engine.EngineClose();
        return 1;
    }
    ProgressScope scope(m_request.progress);
    try {
        if (!PF_FillPages()) {
            m_engine.EngineClose();
            return 1;
        }
        m_engine.JobEnd();
        m_engine.EngineClose();
        return 0;
    } catch (const DbError &e) {
        m_request.dialogs.message(e.describe(), Icon::Error);
    } catch (const ReportError &e) {
        m_request.dialogs.message(e.description(), Icon::Error);
    }
    // Pages already output stay in the job and are printed.
    m_engine.EngineClose();
    return 1;
}

void ReportModule::PP_PageHeader()
{
    ++m_page;
    layout().FieldSet(QStringLiteral("Date"), ReportValues::printStamp());
    layout().FieldSet(QStringLiteral("Page"), qint64(m_page));
}
