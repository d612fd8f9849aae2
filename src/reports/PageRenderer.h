// Draws one page of a layout with its values onto a painter whose device counts `dpi` dots
// per inch from the paper's top-left corner.
#pragma once

#include "LayoutDesign.h"
#include "RecordedPage.h"

class QPainter;

class PageRenderer {
public:
    PageRenderer(const LayoutDesign &design, double dpi) : m_design(design), m_dpi(dpi) {}

    // What the page prints for the given state (no drawing): the recorded form of the page.
    RecordedPage compose(const QHash<QString, QString> &values,
                         const QHash<QString, bool> &itemShown,
                         const QHash<QString, bool> &sectionShown) const;
    void draw(QPainter &painter, const QHash<QString, QString> &values,
              const QHash<QString, bool> &itemShown,
              const QHash<QString, bool> &sectionShown) const;

private:
    bool prints(const LayoutDesign::Item &item, const QHash<QString, bool> &itemShown,
                const QHash<QString, bool> &sectionShown) const;
    double dots(double mm) const { return mm * m_dpi / 25.4; }
    QRectF dots(const QRectF &mm) const;
    void drawBox(QPainter &painter, const LayoutDesign::Item &item) const;
    void drawRule(QPainter &painter, const LayoutDesign::Item &item) const;
    void drawText(QPainter &painter, const LayoutDesign::Item &item, const QString &text) const;

    const LayoutDesign &m_design;
    double m_dpi;
};
