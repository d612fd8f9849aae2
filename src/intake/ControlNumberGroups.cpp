#include "ControlNumberGroups.h"

#include "ControlNumbers.h"

#include <QHashFunctions>

#include <algorithm>
#include <map>

size_t qHash(const ControlNumberGroups::Key &key, size_t seed)
{
    return qHashMulti(seed, key.fcRg, key.setDate, key.carCd, key.lotNo);
}

namespace {

// Texts sort by code point on both engines. The file's text comes from CP932, which has no
// character outside the basic plane, so comparing UTF-16 units gives the same order.
bool before(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

} // namespace

void ControlNumberGroups::add(int line, Key key)
{
    auto found = m_index.constFind(key);
    int group;
    if (found != m_index.cend()) {
        group = found.value();
    } else {
        group = int(m_groups.size());
        m_index.insert(key, group);
        m_groups.append(std::move(key));
    }
    if (m_groupOfLine.size() < size_t(line))
        m_groupOfLine.resize(size_t(line), -1);
    m_groupOfLine[size_t(line - 1)] = group;
}

void ControlNumberGroups::draw(Db &db, const QString &nen, const QString &tuki)
{
    // The groups of each factory, factories in order.
    auto factoryOrder = [](const QString &a, const QString &b) { return before(a, b); };
    std::map<QString, std::vector<int>, decltype(factoryOrder)> byFactory(factoryOrder);
    for (int g = 0; g < m_groups.size(); ++g)
        byFactory[m_groups.at(g).fcRg].push_back(g);

    m_numbers = QList<QString>(m_groups.size());
    for (auto &[fcRg, groups] : byFactory) {
        std::sort(groups.begin(), groups.end(), [this](int a, int b) {
            const Key &x = m_groups.at(a);
            const Key &y = m_groups.at(b);
            if (x.setDate != y.setDate)
                return before(x.setDate, y.setDate);
            if (x.carCd != y.carCd)
                return before(x.carCd, y.carCd);
            return before(x.lotNo, y.lotNo);
        });
        const int count = int(groups.size());
        const int base = nextControlNumber(db, nen, tuki, fcRg, count) - count;
        for (int i = 0; i < count; ++i)
            m_numbers[groups[size_t(i)]] = formatKnrNo(fcRg, base + i + 1);
    }
}

std::optional<QString> ControlNumberGroups::knrNo(int line, const Key &key) const
{
    if (line < 1 || size_t(line) > m_groupOfLine.size())
        return std::nullopt;
    const int group = m_groupOfLine[size_t(line - 1)];
    if (group < 0 || group >= m_numbers.size() || !(m_groups.at(group) == key))
        return std::nullopt;
    return m_numbers.at(group);
}
