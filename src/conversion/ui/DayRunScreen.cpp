#include "DayRunScreen.h"

#include "Session.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

DayRunScreen::DayRunScreen(Session &session, const QString &title, QWidget *parent)
    : QWidget(parent), m_session(session)
{
    setWindowTitle(title);
    importDateEdit = new QLineEdit;
    importDateEdit->setObjectName(QStringLiteral("importDateEdit"));
    importDateEdit->setReadOnly(true);
    importDateEdit->setFocusPolicy(Qt::NoFocus);
    okButton = button(QStringLiteral("okButton"), QStringLiteral("OK"));
    cancelButton = button(QStringLiteral("cancelButton"), QStringLiteral("Cancel"));
    connect(okButton, &QPushButton::clicked, this, [this] { onOk(); });
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

QPushButton *DayRunScreen::button(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(true); // Enter presses the button that has the focus
    return b;
}

bool DayRunScreen::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        importDateEdit->setText(m_session.importDate());
    return QWidget::event(event);
}

void DayRunScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
