#include "ScreenRegistry.h"

ScreenRegistry &ScreenRegistry::instance()
{
    static ScreenRegistry registry;
    return registry;
}

void ScreenRegistry::add(const QString &formName, Factory factory, const QList<Key> &keys)
{
    m_factories.insert(formName, std::move(factory));
    for (Key key : keys)
        m_formNames.insert(key, formName);
}

void ScreenRegistry::addCommand(const Command &command)
{
    for (Command &known : m_commands) {
        if (known.word == command.word) {
            known = command;
            return;
        }
    }
    m_commands << command;
}

const ScreenRegistry::Command *ScreenRegistry::command(const QString &word) const
{
    for (const Command &command : m_commands)
        if (command.word == word)
            return &command;
    return nullptr;
}

void ScreenRegistry::remove(const QString &formName)
{
    m_factories.remove(formName);
}

QString ScreenRegistry::formName(Key key) const
{
    return m_formNames.value(key);
}

bool ScreenRegistry::has(const QString &formName) const
{
    return m_factories.contains(formName);
}

QWidget *ScreenRegistry::find(const QString &formName) const
{
    const auto it = m_open.constFind(formName);
    return it == m_open.constEnd() ? nullptr : it.value().data();
}

bool ScreenRegistry::isOpen(const QString &formName) const
{
    return find(formName) != nullptr;
}

QWidget *ScreenRegistry::load(const QString &formName)
{
    if (QWidget *open = find(formName))
        return open;
    const auto it = m_factories.constFind(formName);
    if (it == m_factories.constEnd() || !m_session)
        return nullptr;
    QWidget *screen = it.value()(*m_session);
    if (!screen)
        return nullptr;
    screen->setObjectName(formName);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    m_open.insert(formName, screen);
    return screen;
}

QWidget *ScreenRegistry::show(const QString &formName)
{
    QWidget *screen = load(formName);
    if (!screen)
        return nullptr;
    screen->show();
    screen->raise();
    screen->activateWindow();
    return screen;
}

QStringList ScreenRegistry::openForms() const
{
    QStringList names;
    for (auto it = m_open.constBegin(); it != m_open.constEnd(); ++it)
        if (it.value())
            names << it.key();
    return names;
}

bool ScreenRegistry::closeAll()
{
    bool all = true;
    for (const QString &name : openForms()) {
        if (QWidget *screen = find(name)) {
            if (!screen->close())
                all = false;
        }
    }
    return all;
}

void ScreenRegistry::clear()
{
    for (const QString &name : openForms())
        delete find(name);
    m_open.clear();
    m_factories.clear();
    m_formNames.clear();
    m_commands.clear();
}
