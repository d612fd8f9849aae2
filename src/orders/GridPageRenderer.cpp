#include "GridPageRenderer.h"

#include "PagedQueryModel.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kCellPaddingPt = 2.0;
const QColor kHeadingShade(0xE8, 0xE8, 0xE8);
} // namespace

struct GridPageRenderer::Metrics {
    QRectF page;           // paintable area in device units
    double rowHeight = 0;  // one grid row, also the headings
    double bandHeight = 0; // page header and footer
    double padding = 0;
    QList<int> columns;   // visible model columns, in order
    QList<double> widths; // their printed widths
    int rowsPerPage = 1;
};

GridPageRenderer::GridPageRenderer(const PagedQueryModel &model)
    : m_model(model), m_font(QStringLiteral("Noto Sans CJK JP"), 9)
{
    // Shaped Latin runs get digit glyphs the PDF cannot map back to text, and the printed
    // lists must stay searchable; the desk's texts need no shaping.
    m_font.setStyleStrategy(QFont::PreferNoShaping);
}

QString GridPageRenderer::expand(const QString &text, int page, int pages)
{
    QString out = text;
    out.replace(QLatin1String("\\P"), QString::number(pages));
    out.replace(QLatin1String("\\p"), QString::number(page));
    return out;
}

GridPageRenderer::Metrics GridPageRenderer::measure(QPagedPaintDevice &device) const
{
    Metrics m;
    const int dpi = device.logicalDpiY();
    m.page = QRectF(QPointF(0, 0), QSizeF(device.pageLayout().paintRectPixels(dpi).size()));
    const QFontMetricsF fm(m_font, &device);
    m.padding = kCellPaddingPt * dpi / 72.0;
    m.rowHeight = fm.height() + 2 * m.padding;
    m.bandHeight = fm.height() * 2;

    const QList<GridColumn> &columns = m_model.columns();
    double total = 0;
    for (int c = 0; c < m_model.columnCount(); ++c) {
        if (!columns.isEmpty() && !columns[c].visible)
            continue;
        const int twips = columns.isEmpty() ? 1500 : columns[c].widthTwips;
        const double w = twips * device.logicalDpiX() / kTwipsPerInch;
        m.columns << c;
        m.widths << w;
        total += w;
    }
    // A grid wider than the paper is narrowed to fit rather than cut off.
    if (total > m.page.width() && total > 0)
        for (double &w : m.widths)
            w *= m.page.width() / total;

    const double body = m.page.height() - 2 * m.bandHeight - m.rowHeight;
    m.rowsPerPage = qMax(1, int(std::floor(body / m.rowHeight)));
    return m;
}

int GridPageRenderer::pageCount(QPagedPaintDevice &device) const
{
    const Metrics m = measure(device);
    const qint64 rows = m_model.totalRows();
    return int(qMax<qint64>(1, (rows + m.rowsPerPage - 1) / m.rowsPerPage));
}

void GridPageRenderer::render(QPagedPaintDevice &device) const
{
    const Metrics m = measure(device);
    const qint64 rows = m_model.totalRows();
    const int pages = int(qMax<qint64>(1, (rows + m.rowsPerPage - 1) / m.rowsPerPage));
    QPainter painter(&device);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        paintPage(painter, m, page, pages);
    }
}

void GridPageRenderer::paintBand(QPainter &painter, const QRectF &band, const QString &text) const
{
    QString separated = text;
    separated.replace(QLatin1String("\\t"), QStringLiteral("\t")); // written "\t" like \p
    const QStringList parts = separated.split(QLatin1Char('\t'));
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < parts.size() && i < 3; ++i)
        painter.drawText(band, int(aligns[i] | Qt::AlignVCenter), parts[i]);
}

void GridPageRenderer::paintPage(QPainter &painter, const Metrics &m, int page, int pages) const
{
    painter.setFont(m_font);
    painter.setPen(QPen(Qt::black, 0));
    const QRectF header(m.page.left(), m.page.top(), m.page.width(), m.bandHeight);
    paintBand(painter, header, expand(m_header, page, pages));

    auto paintRow = [&](double y, auto textOf, bool heading) {
        double x = m.page.left();
        for (int i = 0; i < m.columns.size(); ++i) {
            const QRectF cell(x, y, m.widths[i], m.rowHeight);
            if (heading)
                painter.fillRect(cell, kHeadingShade);
            painter.drawRect(cell);
            const QRectF inner = cell.adjusted(m.padding, 0, -m.padding, 0);
            const QString text = painter.fontMetrics().elidedText(
                textOf(m.columns[i]), Qt::ElideRight, int(inner.width()));
            painter.drawText(inner, int(Qt::AlignLeft | Qt::AlignVCenter), text);
            x += m.widths[i];
        }
    };

    double y = header.bottom();
    QFont bold = m_font; // keeps the style strategy
    bold.setBold(true);
    painter.setFont(bold);
    paintRow(
        y, [&](int c) { return m_model.headerData(c, Qt::Horizontal).toString(); }, true);
    painter.setFont(m_font);
    y += m.rowHeight;

    const qint64 first = qint64(page - 1) * m.rowsPerPage;
    const qint64 last = qMin(m_model.totalRows(), first + m.rowsPerPage);
    for (qint64 row = first; row < last; ++row) {
        paintRow(
            y, [&](int c) { return m_model.text(int(row), c); }, false);
        y += m.rowHeight;
    }

    const QRectF footer(m.page.left(), m.page.bottom() - m.bandHeight, m.page.width(),
                        m.bandHeight);
    paintBand(painter, footer, expand(m_footer, page, pages));
}
