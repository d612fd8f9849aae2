#include "KeyRegister.h"

#include <algorithm>
#include <cstring>

namespace {
const char kSeparator = '\x1f';

QString keyText(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).replace(QLatin1Char(kSeparator), QLatin1Char(','));
}
} // namespace

void KeyRegister::add(const QStringList &keyValues, qint64 line)
{
    const QByteArray key = keyValues.join(QLatin1Char(kSeparator)).toUtf8();
    if (key.size() <= kSlot && line <= qint64(UINT32_MAX)) {
        Entry entry;
        std::memset(entry.bytes, 0, sizeof entry.bytes);
        std::memcpy(entry.bytes, key.constData(), size_t(key.size()));
        entry.size = quint8(key.size());
        entry.line = quint32(line);
        m_short.push_back(entry);
        return;
    }
    const auto found = m_long.constFind(key);
    if (found != m_long.cend())
        m_longDuplicates.append({line, found.value(), keyText(key)});
    else
        m_long.insert(key, line);
}

QList<KeyRegister::Duplicate> KeyRegister::takeDuplicates()
{
    auto keyLess = [](const Entry &a, const Entry &b) {
        if (a.size != b.size)
            return a.size < b.size;
        return std::memcmp(a.bytes, b.bytes, kSlot) < 0;
    };
    std::sort(m_short.begin(), m_short.end(), [&](const Entry &a, const Entry &b) {
        if (keyLess(a, b))
            return true;
        if (keyLess(b, a))
            return false;
        return a.line < b.line;
    });
    QList<Duplicate> result = m_longDuplicates;
    size_t first = 0; // the first entry of the current run of equal keys
    for (size_t i = 1; i < m_short.size(); ++i) {
        const Entry &e = m_short[i];
        if (keyLess(m_short[first], e)) {
            first = i;
            continue;
        }
        result.append(
            {qint64(e.line), qint64(m_short[first].line), keyText(QByteArray(e.bytes, e.size))});
    }
    std::sort(result.begin(), result.end(),
              [](const Duplicate &a, const Duplicate &b) { return a.line < b.line; });
    std::vector<Entry>().swap(m_short);
    m_long.clear();
    m_longDuplicates.clear();
    return result;
}
