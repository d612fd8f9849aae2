#include "FunctionKeyLabel.h"

#include <QMouseEvent>
#include <QPainter>

FunctionKeyLabel::FunctionKeyLabel(int index, QWidget *parent) : QLabel(parent), m_index(index)
{
    setObjectName(QStringLiteral("functionKey%1").arg(index));
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    // Room for the small key number above the caption, so a long caption never runs into it.
    setContentsMargins(0, 7, 0, 0);
    setKey(QString());
}

void FunctionKeyLabel::setKey(const QString &caption)
{
    const bool active = !caption.isEmpty();
    setText(caption);
    setEnabled(active);
    QFont f = font();
    f.setBold(active);
    setFont(f);
    setCursor(active ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void FunctionKeyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (isEnabled() && event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clicked(m_index);
    QLabel::mouseReleaseEvent(event);
}

void FunctionKeyLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    QFont small = font();
    small.setBold(false);
    small.setPointSizeF(qMax(6.0, small.pointSizeF() * 0.7));
    painter.setFont(small);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect().adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("F%1").arg(m_index + 1));
}
