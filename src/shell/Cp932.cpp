#include "Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One converter per direction, opened once per thread (iconv_open is not cheap).
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != iconv_t(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts all of in; returns false at the first invalid or unconvertible sequence and
    // sets failedAt to its offset in the input.
    bool convert(const QByteArray &in, QByteArray &out, qsizetype &failedAt)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 16);
        char *inPtr = const_cast<char *>(in.constData());
        size_t inLeft = size_t(in.size());
        char *outPtr = out.data();
        size_t outLeft = size_t(out.size());
        while (inLeft > 0) {
            const size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            if (rc != size_t(-1))
                break;
            if (errno == E2BIG) {
                const qsizetype used = outPtr - out.data();
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = size_t(out.size() - used);
                continue;
            }
            failedAt = inPtr - in.constData();
            return false;
        }
        out.resize(outPtr - out.data());
        return true;
    }

private:
    iconv_t m_cd;
};

Converter &toUnicode()
{
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

Converter &fromUnicode()
{
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

} // namespace

namespace Cp932 {

int charCount(const QByteArray &bytes)
{
    int count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (isLeadByte(uchar(bytes.at(i))) && i + 1 < bytes.size())
            ++i;
        ++count;
    }
    return count;
}

int byteLengthOfChars(const char *data, int size, int chars)
{
    int pos = 0;
    for (int c = 0; c < chars && pos < size; ++c) {
        if (isLeadByte(uchar(data[pos])) && pos + 1 < size)
            pos += 2;
        else
            pos += 1;
    }
    return pos;
}

std::optional<QString> decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    QByteArray out;
    qsizetype failedAt = 0;
    if (!toUnicode().convert(bytes, out, failedAt))
        return std::nullopt;
    return QString::fromUtf8(out);
}

QString mapLookAlikes(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break; // WAVE DASH -> FULLWIDTH TILDE
        case 0x2212: c = QChar(0xFF0D); break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2016: c = QChar(0x2225); break; // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x00A2: c = QChar(0xFFE0); break; // CENT SIGN
        case 0x00A3: c = QChar(0xFFE1); break; // POUND SIGN
        case 0x00AC: c = QChar(0xFFE2); break; // NOT SIGN
        default: break;
        }
    }
    return result;
}

Encoded encode(const QString &text)
{
    Encoded result;
    const QString mapped = mapLookAlikes(text);
    const QByteArray utf8 = mapped.toUtf8();
    qsizetype failedAt = 0;
    if (fromUnicode().convert(utf8, result.bytes, failedAt))
        return result;
    // Name the offending character (whole code point, surrogates included).
    const QString rest = QString::fromUtf8(utf8.mid(failedAt));
    if (rest.isEmpty()) {
        result.badChar = QStringLiteral("?");
    } else {
        const int len = rest.at(0).isHighSurrogate() && rest.size() > 1 ? 2 : 1;
        result.badChar = rest.left(len);
    }
    result.bytes.clear();
    return result;
}

} // namespace Cp932
