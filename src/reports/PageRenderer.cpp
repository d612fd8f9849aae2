#include "PageRenderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace {
// Space between a box's edge and its text.
constexpr double kPaddingMm = 0.8;
// Text wider than its box is first made smaller, down to this share of its size, and then
// narrowed, so that a long name never runs into the next column.
constexpr double kSmallestShare = 0.75;

Qt::Alignment qtAlign(LayoutDesign::Align align)
{
    switch (align) {
    case LayoutDesign::Align::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case LayoutDesign::Align::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LayoutDesign::Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}
} // namespace

bool PageRenderer::prints(const LayoutDesign::Item &item, const QHash<QString, bool> &itemShown,
                          const QHash<QString, bool> &sectionShown) const
{
    if (!item.section.isEmpty() && !sectionShown.value(item.section, true))
        return false;
    if (!item.name.isEmpty())
        return itemShown.value(item.name, item.shown);
    return item.shown;
}

RecordedPage PageRenderer::compose(const QHash<QString, QString> &values,
                                   const QHash<QString, bool> &itemShown,
                                   const QHash<QString, bool> &sectionShown) const
{
    RecordedPage page;
    page.values = values;
    for (const QString &section : m_design.sectionNames())
        if (sectionShown.value(section, true))
            page.sections.insert(section);
    for (const LayoutDesign::Item &item : m_design.items()) {
        if (!prints(item, itemShown, sectionShown))
            continue;
        if (!item.name.isEmpty())
            page.shownItems.insert(item.name);
        if (item.kind == LayoutDesign::Kind::Field) {
            const QString text = values.value(item.name);
            if (!text.isEmpty())
                page.printed.insert(item.name, text);
        }
    }
    return page;
}

void PageRenderer::draw(QPainter &painter, const QHash<QString, QString> &values,
                        const QHash<QString, bool> &itemShown,
                        const QHash<QString, bool> &sectionShown) const
{
    for (const LayoutDesign::Item &item : m_design.items()) {
        if (!prints(item, itemShown, sectionShown))
            continue;
        switch (item.kind) {
        case LayoutDesign::Kind::Frame:
            drawBox(painter, item);
            break;
        case LayoutDesign::Kind::Rule:
            drawRule(painter, item);
            break;
        case LayoutDesign::Kind::Label:
            drawBox(painter, item);
            drawText(painter, item, item.text);
            break;
        case LayoutDesign::Kind::Field:
            drawBox(painter, item);
            drawText(painter, item, values.value(item.name));
            break;
        }
    }
}

QRectF PageRenderer::dots(const QRectF &mm) const
{
    return QRectF(dots(mm.x()), dots(mm.y()), dots(mm.width()), dots(mm.height()));
}

void PageRenderer::drawBox(QPainter &painter, const LayoutDesign::Item &item) const
{
    const bool frame = item.kind == LayoutDesign::Kind::Frame || item.border;
    if (!frame && !item.fill.isValid())
        return;
    painter.save();
    if (frame && item.line > 0) {
        QPen pen(item.color, dots(item.line));
        pen.setStyle(item.dotted ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
    painter.drawRect(dots(item.rect));
    painter.restore();
}

void PageRenderer::drawRule(QPainter &painter, const LayoutDesign::Item &item) const
{
    painter.save();
    QPen pen(item.color, dots(item.line));
    pen.setStyle(item.dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const QRectF r = dots(item.rect);
    painter.drawLine(QPointF(r.left(), r.top()),
                     QPointF(r.left() + r.width(), r.top() + r.height()));
    painter.restore();
}

void PageRenderer::drawText(QPainter &painter, const LayoutDesign::Item &item,
                            const QString &text) const
{
    if (text.isEmpty())
        return;
    const LayoutDesign::Font design = m_design.font(item.font);
    QFont font(design.family);
    font.setBold(design.bold);
    // Without shaping every glyph keeps its own character in the PDF, so the text of a list
    // can be searched and copied (shaped Latin runs lose their digits there).
    font.setStyleStrategy(QFont::PreferNoShaping);
    double pixels = design.size * m_dpi / 72.0;
    font.setPixelSize(qMax(1, qRound(pixels)));

    const QRectF box = dots(item.rect.adjusted(kPaddingMm, 0, -kPaddingMm, 0));
    double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    if (width > box.width() && width > 0) {
        const double share = qMax(kSmallestShare, box.width() / width);
        font.setPixelSize(qMax(1, qRound(pixels * share)));
        width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    }
    const double narrow = width > box.width() && width > 0 ? box.width() / width : 1.0;

    painter.save();
    painter.setFont(font);
    painter.setPen(item.color);
    painter.translate(box.topLeft());
    painter.scale(narrow, 1.0);
    const QRectF local(0, 0, box.width() / narrow, box.height());
    painter.drawText(local, int(qtAlign(item.align)) | Qt::TextSingleLine, text);
    painter.restore();
}
