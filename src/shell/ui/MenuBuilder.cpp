#include "MenuBuilder.h"

#include "Dialogs.h"
#include "Installation.h"
#include "MenuWindow.h"
#include "ScreenRegistry.h"

namespace {
constexpr int kVkF1 = 112;
constexpr int kVkF9 = 120;

QString menuTitle()
{
    return QStringLiteral("showMenu");
}
} // namespace

QString MenuBuilder::filePath() const
{
    return Installation::joinPath(m_menuDir, m_menuName);
}

void MenuBuilder::showMenu(const QString &levelNo)
{
    const MenuFile file = MenuFile::read(filePath());
    m_kind.fill(QString());
    m_target.fill(QString());
    m_menuNo = levelNo;
    if (m_window)
        for (int i = 0; i < 16; ++i)
            m_window->setEntryCaption(i, QString());

    if (!file.ok()) {
        appDialogs().message(QStringLiteral("メニューファイルを読めません。\n") + filePath() +
                                 QStringLiteral("\n") + file.error(),
                             Icon::Error, menuTitle());
        return;
    }
    const MenuLevel level = file.level(levelNo);
    if (level.hasTitle && m_window)
        m_window->setMenuTitle(level.title);
    for (int n = 1; n <= 16; ++n) {
        const MenuEntry &entry = level.entries.at(size_t(n));
        m_kind.at(size_t(n)) = entry.kind;
        m_target.at(size_t(n)) = entry.target;
        if (m_window)
            m_window->setEntryCaption(n - 1, entry.caption);
    }
    if (!level.problems.isEmpty())
        appDialogs().message(QStringLiteral("メニューファイルに読めない行があります。\n") +
                                 level.problems.join(QLatin1Char('\n')),
                             Icon::Error, menuTitle());
}

void MenuBuilder::selectTyped(const QString &cmd)
{
    const int n = MenuFile::entryNumberOf(cmd);
    if (n > 0)
        select(n);
}

void MenuBuilder::pressFunctionKey(int keyCode, int)
{
    if (keyCode >= kVkF1 && keyCode <= kVkF9)
        select(keyCode - kVkF1 + 1);
}

void MenuBuilder::clickEntry(int index)
{
    if (index >= 0 && index < 16)
        select(index + 1);
}

void MenuBuilder::select(int n)
{
    // Copies: showing another level replaces the table while the entry is carried out.
    const QString kind = m_kind.at(size_t(n)).toUpper();
    const QString target = m_target.at(size_t(n));
    if (kind == QLatin1String("M"))
        showMenu(target);
    else if (kind == QLatin1String("F"))
        openForm(target);
    else if (kind == QLatin1String("S") && m_window)
        m_window->loadProcedure(target);
}

void MenuBuilder::openForm(const QString &formName)
{
    if (!ScreenRegistry::instance().show(formName))
        appDialogs().message(formName + QStringLiteral(" そんな命令ないです。"), Icon::Error,
                             QStringLiteral("呼出しエラー"));
}
