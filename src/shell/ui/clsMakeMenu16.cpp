#include "clsMakeMenu16.h"

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

QString clsMakeMenu16::filePath() const
{
    return Installation::joinPath(m_menuDir, m_menuName);
}

void clsMakeMenu16::showMenu(const QString &MenuNo)
{
    const MenuFile file = MenuFile::read(filePath());
    m_kind.fill(QString());
    m_target.fill(QString());
    m_menuNo = MenuNo;
    if (m_form)
        for (int i = 0; i < 16; ++i)
            m_form->setEntryCaption(i, QString());

    if (!file.ok()) {
        appDialogs().message(QStringLiteral("メニューファイルを読めません。\n") + filePath() +
                                 QStringLiteral("\n") + file.error(),
                             Icon::Error, menuTitle());
        return;
    }
    const MenuLevel level = file.level(MenuNo);
    if (level.hasTitle && m_form)
        m_form->setMenuTitle(level.title);
    for (int n = 1; n <= 16; ++n) {
        const MenuEntry &entry = level.entries.at(size_t(n));
        m_kind.at(size_t(n)) = entry.kind;
        m_target.at(size_t(n)) = entry.target;
        if (m_form)
            m_form->setEntryCaption(n - 1, entry.caption);
    }
    if (!level.problems.isEmpty())
        appDialogs().message(QStringLiteral("メニューファイルに読めない行があります。\n") +
                                 level.problems.join(QLatin1Char('\n')),
                             Icon::Error, menuTitle());
}

void clsMakeMenu16::MenuSelect(const QString &cmd)
{
    const int n = MenuFile::entryNumberOf(cmd);
    if (n > 0)
        select(n);
}

void clsMakeMenu16::FunctionKey(int KeyCode, int)
{
    if (KeyCode >= kVkF1 && KeyCode <= kVkF9)
        select(KeyCode - kVkF1 + 1);
}

void clsMakeMenu16::cmdClick(int Index)
{
    if (Index >= 0 && Index < 16)
        select(Index + 1);
}

void clsMakeMenu16::select(int n)
{
    // Copies: showing another level replaces the table while the entry is carried out.
    const QString kind = m_kind.at(size_t(n)).toUpper();
    const QString target = m_target.at(size_t(n));
    if (kind == QLatin1String("M"))
        showMenu(target);
    else if (kind == QLatin1String("F"))
        openForm(target);
    else if (kind == QLatin1String("S") && m_form)
        m_form->loadProcedure(target);
}

void clsMakeMenu16::openForm(const QString &formName)
{
    if (!ScreenRegistry::instance().show(formName))
        appDialogs().message(formName + QStringLiteral(" そんな命令ないです。"), Icon::Error,
                             QStringLiteral("呼出しエラー"));
}
