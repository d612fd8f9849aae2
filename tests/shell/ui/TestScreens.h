// Stand-ins for the screens of other subsystems, registered under their form names so that
// the menu can be driven without them.
#pragma once

#include "ImportDatePicker.h"
#include "ModalWindows.h"
#include "OpenWithMode.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <functional>

// Lets closed screens (deleted on close) go away, as the event loop would.
inline void registerPlainScreen(const QString &name)
{
    ScreenRegistry::instance().add(name,
                                   [](Session &) { return new QWidget(nullptr, Qt::Window); });
}

// The print screen's contract: openModal with the menu's command word.
class FakePrintScreen : public QWidget, public OpenWithMode {
public:
    static inline QStringList modes;
    void openModal(const QString &mode) override { modes << mode; }
};

// A picker that answers as scripted: a date, or cancel when the date is empty.
class FakePicker : public QWidget, public ImportDatePicker {
public:
    explicit FakePicker(Session &session) : m_session(session) {}
    static inline QString nextDate;
    static inline int opened = 0;
    void openModal() override
    {
        ++opened;
        m_value = nextDate.isEmpty() ? Outcome::Declined : Outcome::Done;
        if (m_value == Outcome::Done)
            m_session.setImportDate(nextDate);
    }
    Outcome outcome() const override { return m_value; }

private:
    Session &m_session;
    Outcome m_value = Outcome::Declined;
};

// A modal screen; while it runs, `whileOpen` is called with it and must close it.
class FakeModal : public QDialog {
public:
    static inline std::function<void(QDialog *)> whileOpen;
    int exec() override
    {
        QMetaObject::invokeMethod(
            this, [this] { whileOpen(this); }, Qt::QueuedConnection);
        return QDialog::exec();
    }
};
