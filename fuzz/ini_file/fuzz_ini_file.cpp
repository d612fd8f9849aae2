// Any bytes as the installation's INI file, then one value written into it the way the options
// screen writes one. Reading never fails whatever the file holds; the write keeps every other
// value of the file as it was read; a value an operator can type (one line, no outer blanks)
// reads back exactly as written; a value with a line end or a NUL is refused and changes
// nothing (it would otherwise write keys of its own).
#include "Cp932.h"
#include "IniFile.h"

#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "ini file: %s\n", what);
        std::abort();
    }
}

const QString &iniPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("ostera.ini"));
    return path;
}

// section (lower case, as names match without regard to case) -> key (lower case) -> value.
using Contents = QMap<QString, QMap<QString, QString>>;

QString describe(const Contents &contents)
{
    QString text;
    for (auto s = contents.cbegin(); s != contents.cend(); ++s)
        for (auto k = s->cbegin(); k != s->cend(); ++k)
            text += QStringLiteral("  [%1] %2 = %3\n")
                        .arg(QString::fromLatin1(s.key().toUtf8().toHex()),
                             QString::fromLatin1(k.key().toUtf8().toHex()),
                             QString::fromLatin1(k.value().toUtf8().toHex()));
    return text;
}

bool isPlainName(const QString &name)
{
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// UTF-8 or CP932, as the INI file of a workstation is.
bool isText(const std::string &file)
{
    QByteArray bytes(file.data(), qsizetype(file.size()));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes).toUtf8() == bytes || Cp932::decode(bytes).has_value();
}

// What an operator can type into one field of the options screen.
bool typeable(const QString &value)
{
    if (value.isEmpty() || value.size() > 1000 || value.trimmed() != value)
        return false;
    for (const QChar c : value)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph ||
            (c.isSpace() && c != QLatin1Char(' ')))
            return false;
    return true;
}

Contents readAll(IniFile &ini, bool text)
{
    Contents contents;
    QStringList sections;
    ini.sectionNames(sections);
    for (const QString &section : sections) {
        // A "[" line without its "]" runs on over the next lines (the INI library reads the
        // name up to the next "]"); such a name is written back in another shape. The desk
        // never reads those sections, so they are left out of the comparison.
        if (section.contains(QLatin1Char('\n')) || section.contains(QLatin1Char('\r')))
            continue;
        ini.setSection(section);
        QStringList lines;
        ini.sectionLines(lines);
        for (const QString &line : lines) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            require(eq >= 0, "a key line without '='");
            const QString key = line.left(eq);
            const QString value = line.mid(eq + 1);
            // What readString gives must agree with the enumeration, in a file of text and for
            // names such as the desk's own (plain ASCII; bytes that are not text are matched
            // by the INI library's own rules).
            const bool named = text && isPlainName(section) && isPlainName(key);
            const QString got = ini.readString(key, QStringLiteral("\x01"));
            // (A value of nothing but a byte-order mark reads as empty text, not as the default.)
            const bool agrees =
                value.isEmpty() ? got.isEmpty() || got == QStringLiteral("\x01") : got == value;
            if (named && !agrees) {
                std::fprintf(stderr, "[%s] %s: listed %s, read %s\n",
                             section.toUtf8().toHex().constData(), key.toUtf8().toHex().constData(),
                             qPrintable(value), qPrintable(got));
                require(false, "readString differs from the section's lines");
            }
            ini.readInteger(key, 0);
            contents[section.toLower()][key.toLower()] = value;
        }
    }
    return contents;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList sections = {QStringLiteral("SQLDB"), QStringLiteral("Zenpan"),
                                         QStringLiteral("tarvolin")};
    static const QStringList keys = {QStringLiteral("PROVIDER"), QStringLiteral("SERVER_NM"),
                                     QStringLiteral("PASSWORD"), QStringLiteral("USER_NM"),
                                     QStringLiteral("CarDir"),   QStringLiteral("TIMEOUT")};
    FuzzedDataProvider input(data, size);
    const QString section = sections.at(input.ConsumeIntegralInRange<int>(0, 2));
    const QString key = keys.at(input.ConsumeIntegralInRange<int>(0, 5));
    const QString value = QString::fromStdString(input.ConsumeRandomLengthString(200));
    const std::string file = input.ConsumeRemainingBytesAsString();
    {
        QFile out(iniPath());
        require(out.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the file");
        out.write(file.data(), qint64(file.size()));
    }

    IniFile ini;
    ini.setFileName(iniPath());
    const bool text = isText(file);
    Contents before = readAll(ini, text);

    ini.setSection(section);
    const bool oneLine = !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')) &&
                         !value.contains(QChar(u'\0'));
    require(ini.writeString(key, value) == oneLine,
            "a value on one line is refused, or one with a line end or NUL is written");
    Contents after = readAll(ini, text);
    ini.setSection(section);
    const QString stored = ini.readString(key, QString());
    if (typeable(value))
        require(stored == value, "a typed value does not read back as written");
    if (!oneLine)
        require(before == after, "a refused value changed the file");

    // A file in neither encoding is read byte for byte; once rewritten it may become CP932 and
    // read differently, so its other values are only required not to crash anything.
    if (!text)
        return 0;
    before[section.toLower()].remove(key.toLower());
    after[section.toLower()].remove(key.toLower());
    if (before[section.toLower()].isEmpty())
        before.remove(section.toLower());
    if (after[section.toLower()].isEmpty())
        after.remove(section.toLower());
    if (before != after) {
        std::fprintf(stderr, "wrote [%s] %s = %s\nbefore:\n%s\nafter:\n%s\n", qPrintable(section),
                     qPrintable(key), qPrintable(value), qPrintable(describe(before)),
                     qPrintable(describe(after)));
        require(false, "writing one value changed another");
    }
    return 0;
}
