#include "ReportLayout.h"

#include "ReportEngine.h"
#include "ReportError.h"

ReportLayout::ReportLayout(ReportEngine &engine, LayoutDesign design)
    : m_engine(engine), m_design(std::move(design))
{
    for (const QString &section : m_design.sectionNames())
        m_sectionShown.insert(section, m_design.sectionShownAtOpen(section));
}

void ReportLayout::setField(const QString &name, const QString &value)
{
    if (!m_design.hasField(name))
        throw ReportError(QStringLiteral("レイアウトにフィールド ") + name +
                          QStringLiteral(" がありません。"));
    m_values.insert(name, value);
}

void ReportLayout::setField(const QString &name, qint64 value)
{
    setField(name, QString::number(value));
}

void ReportLayout::showField(const QString &name, bool shown)
{
    if (!m_design.hasName(name))
        throw ReportError(QStringLiteral("レイアウトに項目 ") + name +
                          QStringLiteral(" がありません。"));
    m_itemShown.insert(name, shown);
}

void ReportLayout::showSection(const QString &name, bool shown)
{
    if (!m_design.hasSection(name))
        throw ReportError(QStringLiteral("レイアウトにセクション ") + name +
                          QStringLiteral(" がありません。"));
    m_sectionShown.insert(name, shown);
}

void ReportLayout::outputPage()
{
    m_engine.outputPage(m_design, m_values, m_itemShown, m_sectionShown);
}

void ReportLayout::clearPage()
{
    m_values.clear();
}
