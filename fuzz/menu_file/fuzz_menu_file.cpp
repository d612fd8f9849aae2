// Any bytes as the menu file Menu1.txt: the reader either refuses the file with a message or
// gives one row per record after the header, numbered from line 2, and every level built from
// those rows places each row exactly once (as the title, an entry from 1 to 16, or a problem).
// A menu file is edited by hand on the workstations, so nothing in it may bring the menu down.
#include "MenuFile.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QSet>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "menu file: %s\n", what);
        std::abort();
    }
}

// Where a row of the level goes, read independently of the reader: a whole number from 0 to 16
// after the outer blanks; -1 for anything else (the row is then a problem of the level).
int positionOf(const QString &typed)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = typed.trimmed();
    if (!whole.match(t).hasMatch())
        return -1;
    bool ok = false;
    const long long n = t.toLongLong(&ok);
    return ok && n >= 0 && n <= 16 ? int(n) : -1;
}

void checkLevel(const MenuFile &menu, const QString &menuNo)
{
    std::array<const MenuRow *, 17> last{};
    int problems = 0;
    for (const MenuRow &row : menu.rows()) {
        if (row.menuNo != menuNo)
            continue;
        const int p = positionOf(row.position);
        if (p < 0)
            ++problems;
        else
            last[size_t(p)] = &row; // a later row of the same position wins
    }
    const MenuLevel level = menu.level(menuNo);
    require(level.problems.size() == problems, "problems of the level");
    require(level.hasTitle == (last[0] != nullptr), "title row");
    if (last[0])
        require(level.title == last[0]->name, "title text");
    for (size_t i = 1; i < last.size(); ++i) {
        const MenuEntry &e = level.entries[i];
        if (!last[i]) {
            require(e.caption.isEmpty() && e.kind.isEmpty() && e.target.isEmpty(), "empty entry");
            continue;
        }
        require(e.caption == last[i]->name && e.kind == last[i]->kind && e.target == last[i]->next,
                "entry differs from its row");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MenuFile menu = MenuFile::parse(bytes);
    if (!menu.ok()) {
        require(!menu.error().isEmpty(), "refusal without a message");
        require(menu.rows().isEmpty(), "rows of a refused file");
        return 0;
    }
    QSet<QString> levels;
    for (int i = 0; i < menu.rows().size(); ++i) {
        require(menu.rows().at(i).line == i + 2, "line numbers");
        levels.insert(menu.rows().at(i).menuNo);
        const int n = MenuFile::entryNumberOf(menu.rows().at(i).position);
        require(n >= 0 && n <= 16, "entry number out of range");
    }
    // A few levels are enough to compare; every level of a big file would make each input slow.
    int checked = 0;
    for (const QString &menuNo : levels)
        if (checked++ < 8)
            checkLevel(menu, menuNo);
    // The same bytes read again give the same rows (the menu is read afresh on every visit).
    const MenuFile again = MenuFile::parse(bytes);
    require(again.rows().size() == menu.rows().size(), "second reading differs");
    return 0;
}
