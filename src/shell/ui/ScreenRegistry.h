// Screens are created by their form name through this one registry: the menu's command table
// and the menu file's F entries both use it. Screens are single instances, destroyed when
// closed; showing an open screen brings it to the front.
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class ScreenRegistry {
public:
    using Factory = std::function<QWidget *()>;

    static ScreenRegistry &instance();

    void add(const QString &formName, Factory factory);
    bool has(const QString &formName) const;
    // The open instance, created (not shown) on first use; nullptr for an unknown name.
    QWidget *load(const QString &formName);
    // Loads and shows not modal (or raises the open instance).
    QWidget *show(const QString &formName);
    QWidget *find(const QString &formName) const;
    bool isOpen(const QString &formName) const;
    QStringList openForms() const;
    // Closes every open screen (each one's own close checks run); true when all closed.
    bool closeAll();
    // Forgets every registration and instance (tests).
    void clear();

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_open;
};
