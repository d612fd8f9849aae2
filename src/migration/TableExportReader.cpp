#include "TableExportReader.h"

#include "Cp932.h"
#include "SqlServerTypes.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr qsizetype kBlock = 1 << 20;

// ASCII and half-width katakana, the bulk of the existing system's text, without iconv.
bool decodeSingleBytes(QByteArrayView bytes, QString &out)
{
    out.resize(bytes.size());
    QChar *to = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes[i]);
        if (b < 0x80)
            to[i] = QChar(b);
        else if (b >= 0xA1 && b <= 0xDF)
            to[i] = QChar(0xFF61 + (b - 0xA1));
        else
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

// UTF-16 without byte order mark, as bcp -w writes it. Line ends decide: CR LF is 0D 00 0A 00
// there and 0D 0A in a file of single bytes (where a NUL stands for bcp's empty string and may
// sit beside any byte). Without line ends, ASCII letters and digits decide: each followed by a
// NUL in UTF-16, by another in a file of single bytes.
bool looksLikeUtf16(const QByteArray &b)
{
    qsizetype narrowEnds = 0;
    qsizetype wideEnds = 0;
    qsizetype wideAscii = 0;
    qsizetype narrowAscii = 0;
    auto printable = [](char c) { return c > 0x20 && c < 0x7F; };
    for (qsizetype i = 0; i + 1 < b.size(); ++i) {
        if (b[i] == '\r' && b[i + 1] == '\n')
            ++narrowEnds;
        if (i % 2 == 0) {
            if (i + 3 < b.size() && b[i] == '\r' && b[i + 1] == 0 && b[i + 2] == '\n' &&
                b[i + 3] == 0)
                ++wideEnds;
            if (printable(b[i]) && b[i + 1] == 0)
                ++wideAscii;
            else if (printable(b[i]) && printable(b[i + 1]))
                ++narrowAscii;
        }
    }
    if (wideEnds != narrowEnds)
        return wideEnds > narrowEnds;
    return wideAscii > 2 * narrowAscii;
}

bool isIdentifier(const QString &text)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return name.match(text).hasMatch();
}

QString encodingName(TableExportReader::Encoding e)
{
    switch (e) {
    case TableExportReader::Encoding::Ascii:
        return QStringLiteral("ASCII");
    case TableExportReader::Encoding::Cp932:
        return QStringLiteral("CP932");
    case TableExportReader::Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case TableExportReader::Encoding::Utf8Bom:
        return QStringLiteral("UTF-8 BOM付き");
    case TableExportReader::Encoding::Utf16:
        return QStringLiteral("UTF-16");
    }
    return {};
}

} // namespace

TableExportReader::TableExportReader(const QString &path,
                                     const std::optional<BcpFormatFile> &format,
                                     const QString &formatName, const QStringList &knownColumns,
                                     const QStringList &defaultColumns)
    : m_path(path), m_formatFile(format), m_formatName(formatName), m_knownColumns(knownColumns),
      m_defaultColumns(defaultColumns), m_file(path)
{
}

QString TableExportReader::format() const
{
    QString layout;
    if (m_layout == Layout::Csv)
        layout = QStringLiteral("CSV");
    else if (m_encoding == Encoding::Utf16)
        layout = QStringLiteral("bcp -w");
    else
        layout = QStringLiteral("bcp 文字形式");
    QString separator;
    if (m_layout == Layout::Tab)
        separator = m_fieldTerminator == QLatin1String("\t")
                        ? QStringLiteral("、タブ区切り")
                        : QStringLiteral("、区切り「%1」").arg(m_fieldTerminator);
    return layout + QStringLiteral("（") + encodingName(m_encoding) + separator +
           (m_header ? QStringLiteral("、見出しあり") : QStringLiteral("、見出しなし")) +
           QStringLiteral("）");
}

bool TableExportReader::fill()
{
    if (m_eof)
        return false;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const QByteArray more = m_file.read(kBlock);
    if (more.isEmpty()) {
        m_eof = true;
        return false;
    }
    m_buffer += more;
    return true;
}

// The first block tells: a byte order mark, the NUL high bytes of UTF-16, or bytes that are
// valid UTF-8. A block of ASCII alone leaves the choice to the first line that is not.
void TableExportReader::detectEncoding()
{
    fill();
    if (m_buffer.startsWith("\xFF\xFE")) {
        m_encoding = Encoding::Utf16;
        m_encodingKnown = true;
        m_pos = 2;
        m_consumed = 2;
        return;
    }
    if (m_buffer.startsWith("\xEF\xBB\xBF")) {
        m_encoding = Encoding::Utf8Bom;
        m_encodingKnown = true;
        m_pos = 3;
        m_consumed = 3;
        return;
    }
    if (looksLikeUtf16(m_buffer)) {
        m_encoding = Encoding::Utf16;
        m_encodingKnown = true;
        return;
    }
    if (m_formatFile && m_formatFile->unicode()) {
        m_encoding = Encoding::Utf16;
        m_encodingKnown = true;
        return;
    }
    // Up to the last line end, so that no character is cut in two.
    qsizetype end = m_buffer.lastIndexOf('\n');
    if (end < 0)
        end = m_buffer.size();
    const QByteArrayView sample(m_buffer.constData(), end);
    if (isAscii(sample))
        return;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString ignored = utf8.decode(sample);
    m_encoding = utf8.hasError() ? Encoding::Cp932 : Encoding::Utf8;
    m_encodingKnown = true;
}

QString TableExportReader::decode(QByteArrayView bytes, bool *ok, bool *fromCp932)
{
    *ok = true;
    *fromCp932 = false;
    QString text;
    if (!m_encodingKnown) {
        if (isAscii(bytes)) {
            *fromCp932 = true;
            return QString::fromLatin1(bytes);
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString ignored = utf8.decode(bytes);
        m_encoding = utf8.hasError() ? Encoding::Cp932 : Encoding::Utf8;
        m_encodingKnown = true;
    }
    switch (m_encoding) {
    case Encoding::Ascii:
    case Encoding::Cp932: {
        *fromCp932 = true;
        if (decodeSingleBytes(bytes, text))
            return text;
        const auto decoded = Cp932::decode(bytes.toByteArray());
        if (!decoded)
            *ok = false;
        return decoded.value_or(QString());
    }
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        m_utf8.resetState();
        text = m_utf8.decode(bytes);
        *ok = !m_utf8.hasError();
        return text;
    case Encoding::Utf16:
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.data()),
                                  bytes.size() / 2);
    }
    return text;
}

bool TableExportReader::readLine(Line &line)
{
    const bool wide = m_encoding == Encoding::Utf16;
    qsizetype searchFrom = m_pos;
    for (;;) {
        qsizetype at = -1;
        if (wide) {
            for (qsizetype i = searchFrom; i + 1 < m_buffer.size(); i += 2)
                if (m_buffer[i] == '\n' && m_buffer[i + 1] == '\0') {
                    at = i;
                    break;
                }
        } else {
            at = m_buffer.indexOf('\n', searchFrom);
        }
        if (at >= 0) {
            const QByteArrayView bytes(m_buffer.constData() + m_pos, at - m_pos);
            line.number = ++m_lineNumber;
            bool ok = true;
            line.text = decode(bytes, &ok, &line.fromCp932);
            line.badEncoding = !ok;
            const qsizetype next = at + (wide ? 2 : 1);
            m_consumed += next - m_pos;
            m_pos = next;
            return true;
        }
        // Go on searching where this search ended, on a character boundary.
        searchFrom = m_buffer.size() - m_pos;
        if (wide)
            searchFrom -= searchFrom % 2;
        if (!fill()) {
            if (m_pos >= m_buffer.size())
                return false;
            const QByteArrayView bytes(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
            line.number = ++m_lineNumber;
            bool ok = true;
            line.text = decode(bytes, &ok, &line.fromCp932);
            line.badEncoding = !ok;
            m_consumed += m_buffer.size() - m_pos;
            m_pos = m_buffer.size();
            return true;
        }
        searchFrom += m_pos; // fill() moved the unread bytes to the front
    }
}

void TableExportReader::splitTabLine(const QString &text, QStringList &fields) const
{
    fields = text.split(m_fieldTerminator);
    for (QString &f : fields)
        if (SqlServerTypes::isBcpEmptyString(f))
            f.clear();
}

// One record: a line of a bcp file; one or more lines of a CSV file (a quoted value may hold
// line ends). Blank lines between records are skipped.
bool TableExportReader::readRecord(SourceRow &row, const Line *firstLine)
{
    Line line;
    if (firstLine) {
        line = *firstLine;
    } else {
        do {
            if (!readLine(line))
                return false;
        } while (line.text.isEmpty() || line.text == QLatin1String("\r"));
    }
    row.line = line.number;
    row.fields.clear();
    row.fault.clear();
    row.fromCp932 = line.fromCp932;
    if (line.badEncoding)
        row.fault = QStringLiteral("文字コードが正しくありません。");

    if (m_layout == Layout::Tab) {
        QString text = line.text;
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        if (!m_rowEnd.isEmpty()) {
            if (!text.endsWith(m_rowEnd))
                row.fault = QStringLiteral("行の区切り「%1」がありません。").arg(m_rowEnd);
            else
                text.chop(m_rowEnd.size());
        }
        splitTabLine(text, row.fields);
        return true;
    }

    QString field;
    bool quoted = false;   // the field began with a quote
    bool inQuotes = false; // between its opening and closing quote
    for (;;) {
        QString text = line.text;
        const bool hadCr = text.endsWith(QLatin1Char('\r'));
        if (hadCr)
            text.chop(1);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (inQuotes) {
                if (c == QLatin1Char('"')) {
                    if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                        field += c;
                        ++i;
                    } else {
                        inQuotes = false;
                    }
                } else {
                    field += c;
                }
            } else if (c == QLatin1Char(',')) {
                row.fields << field;
                field.clear();
                quoted = false;
            } else if (c == QLatin1Char('"') && field.isEmpty() && !quoted) {
                quoted = true;
                inQuotes = true;
            } else {
                field += c;
            }
        }
        if (!inQuotes)
            break;
        // The value goes on in the next line, with the line end it had.
        field += hadCr ? QStringLiteral("\r\n") : QStringLiteral("\n");
        if (!readLine(line)) {
            row.fault = QStringLiteral("引用符（\"）が閉じていません。");
            break;
        }
        if (line.badEncoding)
            row.fault = QStringLiteral("文字コードが正しくありません。");
        row.fromCp932 = row.fromCp932 && line.fromCp932;
    }
    row.fields << field;
    return true;
}

bool TableExportReader::open(QString *problem)
{
    if (!m_file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("ファイルを読み込めません（%1）。").arg(m_file.errorString());
        return false;
    }
    m_size = m_file.size();
    detectEncoding();

    if (m_formatFile) {
        m_layout = Layout::Tab;
        m_fieldTerminator = m_formatFile->fieldTerminator();
        QString end = m_formatFile->rowTerminator();
        end.chop(1); // the line feed
        if (end.endsWith(QLatin1Char('\r')))
            end.chop(1);
        m_rowEnd = end;
        m_columns = m_formatFile->fieldColumns();
        m_columnsFrom = QStringLiteral("書式ファイル ") + m_formatName;
        SourceRow first;
        if (readRecord(first))
            m_peeked = first;
        return true;
    }

    // The layout from the first line: tabs make a bcp file, anything else is CSV.
    SourceRow first;
    Line firstLine;
    do {
        if (!readLine(firstLine)) {
            // An empty file: no rows, the existing system's columns.
            m_columns = m_defaultColumns;
            m_columnsFrom = QStringLiteral("既定の列順");
            return true;
        }
    } while (firstLine.text.isEmpty() || firstLine.text == QLatin1String("\r"));
    m_layout = firstLine.text.contains(QLatin1Char('\t')) ? Layout::Tab : Layout::Csv;
    readRecord(first, &firstLine); // with the layout known (a CSV record may span lines)

    bool allNames = first.fault.isEmpty() && !first.fields.isEmpty();
    bool someKnown = false;
    for (const QString &f : first.fields) {
        const QString name = f.trimmed().toUpper();
        allNames = allNames && isIdentifier(name);
        someKnown = someKnown || m_knownColumns.contains(name);
    }
    if (allNames && someKnown) {
        m_header = true;
        for (const QString &f : first.fields)
            m_columns << f.trimmed().toUpper();
        m_columnsFrom = QStringLiteral("見出し行");
        return true;
    }
    if (first.fields.size() != m_defaultColumns.size()) {
        *problem = QStringLiteral("見出し行も書式ファイル（%1）もなく、列の数（%2）が既定の列順"
                                  "（%3 列）と合いません。")
                       .arg(m_formatName)
                       .arg(first.fields.size())
                       .arg(m_defaultColumns.size());
        return false;
    }
    m_columns = m_defaultColumns;
    m_columnsFrom = QStringLiteral("既定の列順");
    m_peeked = first;
    return true;
}

bool TableExportReader::next(SourceRow &row)
{
    if (m_peeked) {
        row = *m_peeked;
        m_peeked.reset();
        return true;
    }
    return readRecord(row);
}
