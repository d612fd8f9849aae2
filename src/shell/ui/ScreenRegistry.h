// Screens are created through this one registry, filled from the screen table in
// src/AllScreens.cpp: each screen's class, the form name the menu file's F entries give, and
// the command words of its S entries. Screens find each other by class (show<OrderEditScreen>(),
// a declaration of the class is enough), so the form names live in that table alone. Screens
// are single instances, destroyed when closed; showing an open screen brings it to the front.
// Every screen is built with the desk's Session, which the registry hands to the factories.
#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class Session;

class ScreenRegistry {
public:
    using Factory = std::function<QWidget *(Session &)>;
    // A screen class (or a role a screen plays, such as the import-date picker), known without
    // its definition.
    using Key = const void *;
    template <class Screen> static Key key()
    {
        static const char marker = 0;
        return &marker;
    }

    // How a command word of the main menu opens its screen.
    enum class Opening {
        Show,     // not modal (or raised when open)
        WithMode, // modal, told the command word (OpenWithMode: the print screen)
        Modal,    // modal; the menu waits until it closes
        Exit,     // no screen: the desk ends
    };
    struct Command {
        QString word; // compared exactly, letter case included
        Opening opening;
        QString formName; // empty for Exit
        // The import-date picker runs first; a cancelled pick opens nothing.
        bool afterDatePick = false;
        // Loaded (not shown) before the screen opens, so that the screen finds it ready.
        QString preload;
    };

    static ScreenRegistry &instance();

    // The session every screen is built with (the desk's, or a test's); nothing can be loaded
    // before one is set.
    void setSession(Session *session) { m_session = session; }
    Session *session() const { return m_session; }

    // Registers (or replaces) the factory of a form name; keys are the classes and roles the
    // screens find it by.
    void add(const QString &formName, Factory factory, const QList<Key> &keys = {});
    // A word added again replaces what it did before.
    void addCommand(const Command &command);
    // The command of a word; nullptr for a word the desk does not know.
    const Command *command(const QString &word) const;
    // Forgets one screen, as if it were not built into the program (tests).
    void remove(const QString &formName);

    bool has(const QString &formName) const;
    // The open instance, created (not shown) on first use; nullptr for an unknown name.
    QWidget *load(const QString &formName);
    // Loads and shows not modal (or raises the open instance).
    QWidget *show(const QString &formName);
    QWidget *find(const QString &formName) const;
    bool isOpen(const QString &formName) const;

    // The same by class or role; the form name is the table's.
    QString formName(Key key) const;
    template <class Screen> bool has() const { return has(formName(key<Screen>())); }
    template <class Screen> QWidget *load() { return load(formName(key<Screen>())); }
    template <class Screen> QWidget *show() { return show(formName(key<Screen>())); }
    template <class Screen> QWidget *find() const { return find(formName(key<Screen>())); }
    template <class Screen> bool isOpen() const { return isOpen(formName(key<Screen>())); }

    QStringList openForms() const;
    // Closes every open screen (each one's own close checks run); true when all closed.
    bool closeAll();
    // Forgets every registration and instance (tests); the session stays.
    void clear();

private:
    QHash<QString, Factory> m_factories;
    QHash<Key, QString> m_formNames;
    QList<Command> m_commands;
    QHash<QString, QPointer<QWidget>> m_open;
    Session *m_session = nullptr;
};
