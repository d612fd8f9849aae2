// The form sees keys before its controls: every key pressed anywhere in the window is first
// offered to the handler, which swallows it by returning true.
#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

class KeyPreview : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QKeyEvent *)>;

    // Watches `form` and all its present and future child widgets.
    KeyPreview(QWidget *form, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QObject *object);

    QWidget *m_form;
    Handler m_handler;
};
