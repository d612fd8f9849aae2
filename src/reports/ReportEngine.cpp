#include "ReportEngine.h"

#include "Desktop.h"
#include "LayoutDesign.h"
#include "PageRenderer.h"
#include "PrintJob.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportPrintSettings.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>

ReportEngine::ReportEngine() = default;

ReportEngine::~ReportEngine()
{
    // An engine dropped in the middle of a job (an exception, a closed screen) still hands
    // over what it printed, but never opens a viewer from a destructor.
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

Outcome ReportEngine::init()
{
    m_ready = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    return m_ready ? Outcome::Done : Outcome::Failed;
}

Outcome ReportEngine::startJob(const QString &jobName, const QString &printerName)
{
    if (!m_ready)
        return Outcome::Failed;
    if (m_job)
        endJob();
    m_pages.clear();
    m_pageCount = 0;
    m_pdfPath.clear();
    std::unique_ptr<PrintJob> job = printJobs().open(printerName, jobName);
    if (!job)
        return Outcome::Refused;
    m_job = std::move(job);
    m_pdfPath = m_job->pdfPath();
    m_settings = std::make_unique<ReportPrintSettings>(*m_job);
    return Outcome::Done;
}

void ReportEngine::requireJob() const
{
    if (!m_job)
        throw ReportError(QStringLiteral("印刷ジョブが開始されていません。"));
}

ReportPrintSettings &ReportEngine::printSettings()
{
    requireJob();
    return *m_settings;
}

ReportLayout &ReportEngine::openLayout(const QString &path)
{
    requireJob();
    m_layout = std::make_unique<ReportLayout>(*this, LayoutDesign::load(path));
    return *m_layout;
}

void ReportEngine::outputPage(const LayoutDesign &design, const QHash<QString, QString> &values,
                              const QHash<QString, bool> &itemShown,
                              const QHash<QString, bool> &sectionShown)
{
    requireJob();
    if (!m_painter)
        m_painter = std::make_unique<QPainter>();
    if (!m_painter->isActive()) {
        if (!m_painter->begin(&m_job->device()))
            throw ReportError(QStringLiteral("プリンタに出力できません。") + m_job->outputName());
    } else if (!m_job->device().newPage()) {
        throw ReportError(QStringLiteral("次のページを出力できません。"));
    }
    const PageRenderer renderer(design, m_job->resolution());
    renderer.draw(*m_painter, values, itemShown, sectionShown);
    if (m_recording)
        m_pages.append(renderer.compose(values, itemShown, sectionShown));
    ++m_pageCount;
}

void ReportEngine::endJob()
{
    if (!m_job)
        return;
    const bool printed = m_painter && m_painter->isActive();
    if (printed)
        m_painter->end();
    m_painter.reset();
    m_layout.reset();
    m_settings.reset();
    m_job.reset();
    if (printed && !m_pdfPath.isEmpty())
        Desktop::openOrTell(m_pdfPath);
    if (!printed)
        m_pdfPath.clear();
}

void ReportEngine::close()
{
    endJob();
    m_ready = false;
}
