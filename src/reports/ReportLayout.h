// A layout opened for a print job: the values, shown fields and shown sections of the page
// being filled. PageOutput sends the page to the job; PageClear empties the values for the
// next page (what is shown or hidden stays as it is).
#pragma once

#include "LayoutDesign.h"

#include <QHash>
#include <QString>

class ReportEngine;

class ReportLayout {
public:
    ReportLayout(ReportEngine &engine, LayoutDesign design);

    const LayoutDesign &design() const { return m_design; }

    // A name the layout does not have throws ReportError (a wrong name would print nothing).
    void FieldSet(const QString &name, const QString &value);
    void FieldSet(const QString &name, qint64 value);
    void FieldShow(const QString &name, bool shown);
    void SectionShow(const QString &name, bool shown);
    void PageOutput();
    void PageClear();

    bool hasField(const QString &name) const { return m_design.hasField(name); }
    QString value(const QString &name) const { return m_values.value(name); }

private:
    ReportEngine &m_engine;
    LayoutDesign m_design;
    QHash<QString, QString> m_values;
    QHash<QString, bool> m_itemShown;
    QHash<QString, bool> m_sectionShown;
};
