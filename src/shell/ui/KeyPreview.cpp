#include "KeyPreview.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *form, Handler handler)
    : QObject(form), m_form(form), m_handler(std::move(handler))
{
    watch(form);
}

void KeyPreview::watch(QObject *object)
{
    if (!object->isWidgetType())
        return;
    object->installEventFilter(this);
    for (QObject *child : object->children())
        watch(child);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ChildAdded) {
        watch(static_cast<QChildEvent *>(event)->child());
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    // A key reaches the form once, however many watched parents it would pass through.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_form)
        return false;
    return m_handler(static_cast<QKeyEvent *>(event));
}
