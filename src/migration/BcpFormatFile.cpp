#include "BcpFormatFile.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace {

QString unsupported(const QString &what)
{
    return QStringLiteral("対応していない書式ファイルです（%1）。").arg(what);
}

// The escapes of a terminator as the format file writes it ("\t", "\r\n", "\t\0" for
// UTF-16 data); the NUL halves of UTF-16 terminators are dropped, since the data is compared
// after decoding.
QString unescape(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar e = text.at(++i);
        if (e == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (e == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (e == QLatin1Char('0'))
            continue;
        else
            out += e; // \\ and \"
    }
    return out;
}

// The words of a line of the non-XML form; a quoted word keeps its blanks and escapes.
QStringList words(const QString &line)
{
    QStringList result;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line.at(i).isSpace())
            ++i;
        if (i == line.size())
            break;
        QString word;
        if (line.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < line.size() && line.at(i) != QLatin1Char('"')) {
                if (line.at(i) == QLatin1Char('\\') && i + 1 < line.size())
                    word += line.at(i++);
                word += line.at(i++);
            }
            ++i;
            word.prepend(QLatin1Char('"'));
        } else {
            while (i < line.size() && !line.at(i).isSpace())
                word += line.at(i++);
        }
        result << word;
    }
    return result;
}

} // namespace

std::optional<BcpFormatFile> BcpFormatFile::read(const QString &path, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("書式ファイルを読み込めません（%1）。").arg(file.errorString());
        return std::nullopt;
    }
    return parse(file.readAll(), problem);
}

std::optional<BcpFormatFile> BcpFormatFile::parse(const QByteArray &text, QString *problem)
{
    QByteArray t = text;
    if (t.startsWith("\xEF\xBB\xBF"))
        t.remove(0, 3);
    if (t.trimmed().startsWith('<'))
        return parseXml(t, problem);
    return parsePlain(t, problem);
}

std::optional<BcpFormatFile> BcpFormatFile::fromFields(const QList<Field> &fields, bool xml,
                                                       QString *problem)
{
    if (fields.isEmpty()) {
        *problem = unsupported(QStringLiteral("フィールドがありません"));
        return std::nullopt;
    }
    BcpFormatFile format;
    format.m_xml = xml;
    format.m_unicode = fields.first().unicode;
    for (int i = 0; i < fields.size(); ++i) {
        const Field &f = fields.at(i);
        if (f.terminator.isEmpty()) {
            *problem =
                unsupported(QStringLiteral("フィールド %1 に区切り文字がありません").arg(i + 1));
            return std::nullopt;
        }
        if (f.unicode != format.m_unicode) {
            *problem = unsupported(QStringLiteral("文字コードの違うフィールドがあります"));
            return std::nullopt;
        }
        const bool last = i + 1 == fields.size();
        if (!last) {
            if (i == 0)
                format.m_fieldTerminator = f.terminator;
            else if (f.terminator != format.m_fieldTerminator) {
                *problem = unsupported(QStringLiteral("フィールドごとに区切り文字が違います"));
                return std::nullopt;
            }
        } else {
            format.m_rowTerminator = f.terminator;
        }
        format.m_columns << f.column.toUpper();
    }
    if (fields.size() == 1)
        format.m_fieldTerminator = QStringLiteral("\t");
    if (!format.m_rowTerminator.endsWith(QLatin1Char('\n'))) {
        *problem = unsupported(QStringLiteral("行の区切りが改行ではありません"));
        return std::nullopt;
    }
    return format;
}

std::optional<BcpFormatFile> BcpFormatFile::parsePlain(const QByteArray &text, QString *problem)
{
    QStringList lines;
    for (const QByteArray &line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            lines << QString::fromUtf8(line).trimmed();
    bool ok = false;
    const int count = lines.value(1).toInt(&ok);
    if (lines.size() < 2 || !ok || count <= 0 || lines.size() < 2 + count) {
        *problem = unsupported(QStringLiteral("フィールドの数が読めません"));
        return std::nullopt;
    }
    QList<Field> fields;
    for (int i = 0; i < count; ++i) {
        // host field order, host type, prefix length, host length, terminator, server column
        // order, server column name, collation
        const QStringList w = words(lines.at(2 + i));
        if (w.size() < 7 || !w.at(4).startsWith(QLatin1Char('"'))) {
            *problem = unsupported(QStringLiteral("%1 行目が読めません").arg(3 + i));
            return std::nullopt;
        }
        const QString type = w.at(1).toUpper();
        if (type != QLatin1String("SQLCHAR") && type != QLatin1String("SQLNCHAR")) {
            *problem = unsupported(QStringLiteral("%1 は文字形式ではありません").arg(w.at(1)));
            return std::nullopt;
        }
        if (w.at(2) != QLatin1String("0")) {
            *problem = unsupported(QStringLiteral("長さの前置があります"));
            return std::nullopt;
        }
        Field f;
        f.unicode = type == QLatin1String("SQLNCHAR");
        f.terminator = unescape(w.at(4).mid(1));
        f.column = w.at(5) == QLatin1String("0") ? QString() : w.at(6);
        fields << f;
    }
    return fromFields(fields, false, problem);
}

std::optional<BcpFormatFile> BcpFormatFile::parseXml(const QByteArray &text, QString *problem)
{
    QXmlStreamReader xml(text);
    QList<QString> ids;
    QHash<QString, Field> byId;
    bool inRecord = false;
    bool inRow = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString().toUpper();
            const QXmlStreamAttributes a = xml.attributes();
            if (name == QLatin1String("RECORD")) {
                inRecord = true;
            } else if (name == QLatin1String("ROW")) {
                inRow = true;
            } else if (inRecord && name == QLatin1String("FIELD")) {
                const QString type =
                    a.value(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"),
                            QStringLiteral("type"))
                        .toString();
                const QString kind =
                    type.isEmpty() ? a.value(QStringLiteral("xsi:type")).toString() : type;
                if (kind != QLatin1String("CharTerm") && kind != QLatin1String("NCharTerm")) {
                    *problem = unsupported(
                        kind.isEmpty() ? QStringLiteral("フィールドの型がありません") : kind);
                    return std::nullopt;
                }
                Field f;
                f.unicode = kind == QLatin1String("NCharTerm");
                f.terminator = unescape(a.value(QStringLiteral("TERMINATOR")).toString());
                const QString id = a.value(QStringLiteral("ID")).toString();
                ids << id;
                byId.insert(id, f);
            } else if (inRow && name == QLatin1String("COLUMN")) {
                const QString source = a.value(QStringLiteral("SOURCE")).toString();
                if (!byId.contains(source)) {
                    *problem =
                        unsupported(QStringLiteral("列 %1 のフィールド %2 がありません")
                                        .arg(a.value(QStringLiteral("NAME")).toString(), source));
                    return std::nullopt;
                }
                byId[source].column = a.value(QStringLiteral("NAME")).toString();
            }
        } else if (xml.isEndElement()) {
            const QString name = xml.name().toString().toUpper();
            if (name == QLatin1String("RECORD"))
                inRecord = false;
            else if (name == QLatin1String("ROW"))
                inRow = false;
        }
    }
    if (xml.hasError()) {
        *problem = unsupported(xml.errorString());
        return std::nullopt;
    }
    QList<Field> fields;
    for (const QString &id : ids)
        fields << byId.value(id);
    return fromFields(fields, true, problem);
}
