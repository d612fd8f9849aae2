#include "CsvFile.h"

#include "Cp932.h"
#include "ExclusiveFiles.h"
#include "Installation.h"
#include "OutputFileCapture.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

namespace {
// Lines are gathered and written in blocks; a block is far smaller than any file of a run.
constexpr qsizetype kBlockBytes = 1 << 16;
// Temporary names tried before giving up: something else holding all of them is no accident.
constexpr int kTemporaryAttempts = 100;
// Distinct texts kept encoded; a run repeats a few thousand (names, quality texts, dates).
constexpr qsizetype kEncodedTexts = 1 << 16;

// Appends value in CP932, between quotes, an inner quote doubled. ASCII is the same in CP932;
// any other text is encoded once and then taken from the cache. False with the first
// character CP932 cannot hold.
bool appendQuoted(QByteArray &out, const QString &value, QString *badChar)
{
    out += '"';
    const char16_t *text = reinterpret_cast<const char16_t *>(value.utf16());
    const qsizetype size = value.size();
    bool ascii = true;
    bool quote = false;
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] >= 0x80) {
            ascii = false;
            break;
        }
        quote = quote || text[i] == u'"';
    }
    if (ascii && !quote) {
        const qsizetype at = out.size();
        out.resize(at + size);
        char *bytes = out.data() + at;
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(text[i]);
    } else {
        thread_local QHash<QString, QByteArray> encodedTexts;
        auto known = encodedTexts.constFind(value);
        if (known == encodedTexts.cend()) {
            QString doubled = value;
            doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
            const Cp932::Encoded encoded = Cp932::encode(doubled);
            if (!encoded.ok()) {
                *badChar = encoded.badChar;
                return false;
            }
            if (encodedTexts.size() >= kEncodedTexts)
                encodedTexts.clear();
            known = encodedTexts.insert(value, encoded.bytes);
        }
        out += known.value();
    }
    out += '"';
    return true;
}
// The same for a value as UTF-8 text.
bool appendQuoted(QByteArray &out, QByteArrayView value, QString *badChar)
{
    bool plain = true;
    for (const char c : value) {
        if (uchar(c) >= 0x80 || c == '"') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out += '"';
        out += value;
        out += '"';
        return true;
    }
    thread_local QHash<QByteArray, QByteArray> encodedTexts;
    const QByteArray key = QByteArray::fromRawData(value.data(), value.size());
    auto known = encodedTexts.constFind(key);
    if (known == encodedTexts.cend()) {
        QString doubled = QString::fromUtf8(value);
        doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
        const Cp932::Encoded encoded = Cp932::encode(doubled);
        if (!encoded.ok()) {
            *badChar = encoded.badChar;
            return false;
        }
        if (encodedTexts.size() >= kEncodedTexts)
            encodedTexts.clear();
        known = encodedTexts.insert(QByteArray(value.data(), value.size()), encoded.bytes);
    }
    out += '"';
    out += known.value();
    out += '"';
    return true;
}

// A control number for a message, as the line gave it.
const QString &asText(const QString &text)
{
    return text;
}

QString asText(QByteArrayView utf8)
{
    return QString::fromUtf8(utf8);
}
} // namespace

CsvFile::CsvFile(QString folder, QString base, FolderNames *names)
    : m_folder(std::move(folder)), m_base(std::move(base)),
      m_finalPath(Installation::joinPath(m_folder, m_base + QStringLiteral(".csv"))), m_names(names)
{
}

FolderNames CsvFile::namesIn(const QString &folder)
{
    FolderNames names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.insert(it.fileName());
    }
    return names;
}

CsvFile::~CsvFile()
{
    if (!m_committed)
        discard();
}

bool CsvFile::open()
{
    // Created exclusively: a name that is there, a planted link included, is never opened
    // through; the next temporary name is tried instead.
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        QString name = QLatin1Char('.') + m_base + QStringLiteral(".csv.") +
                       QString::number(QCoreApplication::applicationPid());
        if (attempt > 0)
            name += QLatin1Char('.') + QString::number(attempt);
        m_file.setFileName(Installation::joinPath(m_folder, name + QStringLiteral(".tmp")));
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_created = true;
            return true;
        }
        const QFileInfo there(m_file.fileName());
        if (!there.exists() && !there.isSymLink())
            break;
    }
    return fail(m_file.errorString());
}

bool CsvFile::fail(const QString &text)
{
    m_error = m_finalPath + QStringLiteral(" に書き出せません。") + text;
    discard();
    return false;
}

QString CsvFile::unencodableMessage(const QString &controlNumber, const QString &character)
{
    return QStringLiteral("管理No ") + controlNumber + QStringLiteral(" に出力できない文字「") +
           character + QStringLiteral("」があります。");
}

template <class Values, class ControlNumber>
bool CsvFile::appendLine(const Values &values, const ControlNumber &controlNumber)
{
    // The same bytes as CsvLine::quoted(values) in CP932: quotes and commas are ASCII, and the
    // encoding keeps no state from one value to the next.
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i)
            m_buffer += ',';
        QString badChar;
        if (!appendQuoted(m_buffer, values.at(i), &badChar)) {
            discard();
            m_error = unencodableMessage(asText(controlNumber), badChar);
            return false;
        }
    }
    m_buffer += "\r\n";
    ++m_lines;
    if (m_buffer.size() >= kBlockBytes) {
        if (m_file.write(m_buffer) != m_buffer.size())
            return fail(m_file.errorString());
        m_buffer.clear();
    }
    return true;
}

bool CsvFile::writeLine(const QStringList &values, const QString &controlNumber)
{
    return appendLine(values, controlNumber);
}

bool CsvFile::writeLine(const QList<QByteArrayView> &values, QByteArrayView controlNumber)
{
    return appendLine(values, controlNumber);
}

bool CsvFile::commit()
{
    if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size())
        return fail(m_file.errorString());
    m_buffer.clear();
    if (!m_file.flush())
        return fail(m_file.errorString());
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        return fail(m_file.errorString());
    // Each name is taken in one step or found in use, so the file never replaces another and
    // the final name never shows a half-written file.
    // A name the folder is known to hold is passed over; the file system still decides for
    // every other one (a name may appear at any time).
    for (int n = 0; n <= kLastCandidate; ++n) {
        const QString name = candidate(m_base, n) + QStringLiteral(".csv");
        if (m_names && m_names->contains(name))
            continue;
        const QString path = Installation::joinPath(m_folder, name);
        QString reason;
        switch (ExclusiveFiles::takeName(m_file.fileName(), path, &reason)) {
        case ExclusiveFiles::Outcome::Taken:
            m_finalPath = path;
            m_committed = true;
            if (m_names)
                m_names->insert(name);
            OutputFileCapture::note(m_finalPath);
            return true;
        case ExclusiveFiles::Outcome::NameInUse:
            if (m_names)
                m_names->insert(name);
            continue;
        case ExclusiveFiles::Outcome::Failed:
            m_finalPath = path;
            return fail(reason);
        }
    }
    discard();
    m_error = namesUsedUpMessage(m_base);
    return false;
}

void CsvFile::discard()
{
    if (m_committed)
        return;
    if (m_file.isOpen())
        m_file.close();
    // Only a file this object created is removed, never what held a name it could not take.
    if (m_created)
        QFile::remove(m_file.fileName());
    m_created = false;
    m_buffer.clear();
}

QString CsvFile::candidate(const QString &base, int n)
{
    return n == 0 ? base : base + QStringLiteral("_%1").arg(n);
}

QString CsvFile::unusableNameMessage(const QString &controlNumber, const QString &base,
                                     const QString &character)
{
    const QString file = QStringLiteral("管理No ") + controlNumber +
                         QStringLiteral(" のファイル名「") + base + QStringLiteral(".csv」");
    if (character == QLatin1String("."))
        return file + QStringLiteral("は「.」で始まるため使えません。");
    return file + QStringLiteral("に使えない文字「") + character + QStringLiteral("」があります。");
}

QString CsvFile::clashingNameMessage(const QString &controlNumber, const QString &base,
                                     const QString &otherBase)
{
    return QStringLiteral("管理No ") + controlNumber + QStringLiteral(" のファイル名「") + base +
           QStringLiteral(".csv」が同じ変換の「") + otherBase +
           QStringLiteral(".csv」と重なるため書き出せません。");
}

QString CsvFile::namesUsedUpMessage(const QString &base)
{
    return base + QStringLiteral("_99.csv まで使用済みのため書き出せません。");
}
