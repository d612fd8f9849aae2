#include "ClickableLabel.h"

#include <QMouseEvent>
#include <QStyle>

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setProperty("hot", false);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::enterEvent(QEnterEvent *event)
{
    setHot(!text().isEmpty());
    QLabel::enterEvent(event);
}

void ClickableLabel::leaveEvent(QEvent *event)
{
    setHot(false);
    QLabel::leaveEvent(event);
}

void ClickableLabel::setHot(bool hot)
{
    // The style sheet of the menu underlines and tints the entry under the pointer.
    setProperty("hot", hot);
    style()->unpolish(this);
    style()->polish(this);
}
