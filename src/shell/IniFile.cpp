#include "IniFile.h"

#include "Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// UTF-8 is stored as it stands; the file is decoded by this unit itself.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <memory>

namespace {

using Ini = CSimpleIniA; // section and key names without regard to case

// Loads the file into a fresh parser; a missing or unreadable file gives an empty one.
std::unique_ptr<Ini> load(const QString &path)
{
    auto ini = std::make_unique<Ini>(/*unicode*/ true, /*multiKey*/ false, /*multiLine*/ false);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return ini;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString asUtf8 = QString::fromUtf8(bytes);
    if (asUtf8.toUtf8() != bytes) {
        // Not UTF-8: an INI file written on Windows in CP932.
        if (const auto decoded = Cp932::decode(bytes))
            bytes = decoded->toUtf8();
    }
    ini->LoadData(bytes.constData(), size_t(bytes.size()));
    return ini;
}

bool save(const Ini &ini, const QString &path)
{
    std::string text;
    if (ini.Save(text, false) < 0)
        return false;
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(text.data(), qint64(text.size()));
    if (!file.commit())
        return false;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

// Windows profile strings are cut at 32 766 bytes.
QString cut(const char *value)
{
    QByteArray bytes(value);
    if (bytes.size() > 32766)
        bytes.truncate(32766);
    return QString::fromUtf8(bytes);
}

// A line end in a written value would end it early and make the rest a line of its own (a
// password could set PROVIDER); a NUL would cut it short.
bool fitsOnOneLine(const QString &text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
           !text.contains(QChar(u'\0'));
}

int leadingInteger(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == QLatin1Char('-') || t.at(i) == QLatin1Char('+'))) {
        negative = t.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 128; ++i) {
        value = value * 10 + (t.at(i).unicode() - '0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    return int(negative ? -value : value);
}

} // namespace

QString IniFile::readString(const QString &key, const QString &fallback) const
{
    const auto ini = load(m_fileName);
    const char *value = ini->GetValue(utf8(m_section).constData(), utf8(key).constData(), nullptr);
    if (!value || !*value)
        return fallback;
    return cut(value);
}

int IniFile::readInteger(const QString &key, int fallback) const
{
    const auto ini = load(m_fileName);
    const char *value = ini->GetValue(utf8(m_section).constData(), utf8(key).constData(), nullptr);
    if (!value || !*value)
        return fallback;
    return leadingInteger(QString::fromUtf8(value));
}

bool IniFile::writeString(const QString &key, const QString &value)
{
    if (m_fileName.isEmpty() || !fitsOnOneLine(m_section) || !fitsOnOneLine(key) ||
        !fitsOnOneLine(value))
        return false;
    const auto ini = load(m_fileName);
    if (ini->SetValue(utf8(m_section).constData(), utf8(key).constData(), utf8(value).constData()) <
        0)
        return false;
    return save(*ini, m_fileName);
}

void IniFile::removeKey(const QString &key)
{
    const auto ini = load(m_fileName);
    if (ini->Delete(utf8(m_section).constData(), utf8(key).constData()))
        save(*ini, m_fileName);
}

void IniFile::removeSection(QString &target)
{
    if (target.isEmpty())
        target = m_section;
    const auto ini = load(m_fileName);
    if (ini->Delete(utf8(target).constData(), nullptr))
        save(*ini, m_fileName);
}

int IniFile::sectionNames(QStringList &target) const
{
    const auto ini = load(m_fileName);
    Ini::TNamesDepend sections;
    ini->GetAllSections(sections);
    sections.sort(Ini::Entry::LoadOrder());
    QStringList names;
    for (const auto &entry : sections)
        if (entry.pItem && *entry.pItem)
            names << QString::fromUtf8(entry.pItem);
    if (!names.isEmpty())
        target = names;
    return int(names.size());
}

int IniFile::sectionLines(QStringList &target) const
{
    const auto ini = load(m_fileName);
    const QByteArray section = utf8(m_section);
    Ini::TNamesDepend keys;
    ini->GetAllKeys(section.constData(), keys);
    keys.sort(Ini::Entry::LoadOrder());
    QStringList lines;
    for (const auto &entry : keys) {
        const char *value = ini->GetValue(section.constData(), entry.pItem, "");
        lines << QString::fromUtf8(entry.pItem) + QLatin1Char('=') + cut(value);
    }
    if (!lines.isEmpty())
        target = lines;
    return int(lines.size());
}
