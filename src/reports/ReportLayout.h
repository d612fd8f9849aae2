// A layout opened for a print job: the values, shown fields and shown sections of the page
// being filled. outputPage sends the page to the job; clearPage empties the values for the
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
    void setField(const QString &name, const QString &value);
    void setField(const QString &name, qint64 value);
    void showField(const QString &name, bool shown);
    void showSection(const QString &name, bool shown);
    void outputPage();
    void clearPage();

    bool hasField(const QString &name) const { return m_design.hasField(name); }
    QString value(const QString &name) const { return m_values.value(name); }

private:
    ReportEngine &m_engine;
    LayoutDesign m_design;
    QHash<QString, QString> m_values;
    QHash<QString, bool> m_itemShown;
    QHash<QString, bool> m_sectionShown;
};
