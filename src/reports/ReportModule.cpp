#include "ReportModule.h"

#include "Db.h"
#include "Dialogs.h"
#include "Installation.h"
#include "Progress.h"
#include "ReportEngine.h"
#include "ReportError.h"
#include "ReportGroup.h"
#include "ReportLayout.h"
#include "ReportPrintSettings.h"
#include "ReportValues.h"

#include <QDate>
#include <QSqlRecord>

namespace {
const QString kInitTitle = QStringLiteral("プリントモジュール内の初期化処理");
}

QString ReportModule::layoutPath(const QString &kind)
{
    return Installation::dataFile(QStringLiteral("sys_crf/cor_") + kind + QStringLiteral(".crf"));
}

ReportModule::ReportModule(ReportEngine &reportEngine, const PrintRequest &request, QString kind)
    : m_engine(reportEngine), m_request(request), m_kind(std::move(kind))
{
}

Outcome ReportModule::prepareJob()
{
    Dialogs &dialogs = m_request.dialogs;
    try {
        if (m_engine.init() != Outcome::Done) {
            dialogs.message(QStringLiteral("シーオーリポーツ初期化失敗。"), Icon::Error,
                            kInitTitle);
            return Outcome::Failed;
        }
        const Outcome started = m_engine.startJob(m_kind, m_request.printer);
        if (started != Outcome::Done) {
            dialogs.message(QStringLiteral("プリンタ名が正しくありません。"), Icon::Error,
                            kInitTitle);
            return started;
        }
        m_engine.printSettings().setCopies(1);
        m_layout = &m_engine.openLayout(layoutPath(m_kind));
        if (m_engine.printSettings().applyPaper(*m_layout) != Outcome::Done) {
            dialogs.message(QStringLiteral("用紙サイズに設定エラー"), Icon::Error, kInitTitle);
            return Outcome::Failed;
        }
        return Outcome::Done;
    } catch (const ReportError &e) {
        dialogs.message(QStringLiteral("予期しないエラーが発生しました。\r\n\r\n") +
                            e.description(),
                        Icon::Error, QStringLiteral("印刷を強制終了"));
    } catch (const std::exception &e) {
        dialogs.message(QStringLiteral("予期しないエラーが発生しました。\r\n\r\n") +
                            QString::fromLocal8Bit(e.what()),
                        Icon::Error, QStringLiteral("印刷を強制終了"));
    }
    return Outcome::Failed;
}

Outcome ReportModule::runJob()
{
    m_page = 0;
    m_importDates.reset();
    const Outcome prepared = prepareJob();
    if (prepared != Outcome::Done) {
        m_engine.close();
        return prepared;
    }
    ProgressScope scope(m_request.progress);
    try {
        if (!fillPages()) {
            m_engine.close();
            return Outcome::Refused;
        }
        m_engine.endJob();
        m_engine.close();
        return Outcome::Done;
    } catch (const DbError &e) {
        m_request.dialogs.message(e.text(), Icon::Error);
    } catch (const ReportError &e) {
        m_request.dialogs.message(e.description(), Icon::Error);
    }
    // Pages already output stay in the job and are printed.
    m_engine.close();
    return Outcome::Failed;
}

void ReportModule::setPageHeader()
{
    ++m_page;
    layout().setField(QStringLiteral("Date"), ReportValues::printStamp());
    layout().setField(QStringLiteral("Page"), qint64(m_page));
    // A layout of an older installation may not have the field: its pages print as before.
    if (layout().hasField(QStringLiteral("ImpDate"))) {
        if (!m_importDates)
            m_importDates = importDatesText();
        layout().setField(QStringLiteral("ImpDate"), *m_importDates);
    }
}

// The import date (処理日) the rows belong to, "2026/12/08"; a run over several days shows
// its first and last ("2026/12/07～2026/12/08").
QString ReportModule::importDatesText()
{
    const QList<QSqlRecord> rows = db().rows(
        QStringLiteral("Select Min(IMP_DATE) As FIRST_DATE, Max(IMP_DATE) As LAST_DATE From ") +
            source().from(),
        source().with());
    if (rows.isEmpty())
        return QString();
    auto shown = [](const QString &impDate) {
        const QDate date = QDate::fromString(impDate, QStringLiteral("yyyyMMdd"));
        return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : impDate;
    };
    const QString first = shown(rows.first().value(0).toString());
    const QString last = shown(rows.first().value(1).toString());
    return first == last ? first : first + QStringLiteral("～") + last;
}

void ReportModule::setGroupFields(const ReportGroup &group)
{
    layout().setField(QStringLiteral("SetBi"), group.setDate);
    layout().setField(QStringLiteral("OrderDate"), group.ordDate);
    layout().setField(QStringLiteral("Brand"), group.brCd);
    layout().setField(QStringLiteral("FR"), group.fcRg);
    layout().setField(QStringLiteral("FC"), group.fcCd);
    layout().setField(QStringLiteral("FN"), group.fcNm);
}
