// Prints the rows of a grid: on every page the page header, the column headings, as many
// rows as fit, and the page footer. Header and footer texts follow the grid's print
// settings: "\t" (a tab, or backslash and t) separates the left, centre and right parts, "\p" is
// the page number and
// "\P" the page count ("\tﾍﾟｰｼﾞ: \p" prints the page number in the middle).
#pragma once

#include <QFont>
#include <QList>
#include <QString>

class PagedQueryModel;
class QPagedPaintDevice;
class QPainter;

class GridPageRenderer {
public:
    explicit GridPageRenderer(const PagedQueryModel &model);

    void setHeader(const QString &text) { m_header = text; }
    void setFooter(const QString &text) { m_footer = text; }
    void setFont(const QFont &font)
    {
        m_font = font;
        m_font.setStyleStrategy(QFont::PreferNoShaping);
    }

    // Pages the rows take on device (at least one: an empty grid prints its headings).
    int pageCount(QPagedPaintDevice &device) const;
    // Paints every page onto device (a printer or a PDF writer).
    void render(QPagedPaintDevice &device) const;

    // "\p" and "\P" replaced; exposed for the screens' own texts.
    static QString expand(const QString &text, int page, int pages);

private:
    struct Metrics;
    Metrics measure(QPagedPaintDevice &device) const;
    void paintPage(QPainter &painter, const Metrics &m, int page, int pages) const;
    void paintBand(QPainter &painter, const QRectF &band, const QString &text) const;

    const PagedQueryModel &m_model;
    QString m_header;
    QString m_footer;
    QFont m_font;
};
