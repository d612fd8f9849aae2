// CP932 (Windows Shift-JIS) through iconv: the customer's order file, the output CSV files
// and old INI files. Qt 6.4 has no Shift-JIS codec of its own.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Cp932 {

// Lead bytes 0x81-0x9F and 0xE0-0xFC start a two-byte character; everything else
// (ASCII, half-width katakana 0xA1-0xDF) is one byte.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Number of characters in the bytes (a lead byte and its trail byte count as one).
int charCount(const QByteArray &bytes);

// Byte length of the first `chars` characters of data[0..size); stops at the end.
int byteLengthOfChars(const char *data, int size, int chars);

// Decodes CP932; std::nullopt when the bytes are not valid CP932.
std::optional<QString> decode(const QByteArray &bytes);

// Replaces the look-alikes typed on Linux by the characters CP932 holds
// (U+301C -> U+FF5E, U+2212 -> U+FF0D, U+2016 -> U+2225, U+00A2/A3/AC -> U+FFE0/E1/E2).
QString mapLookAlikes(const QString &text);

struct Encoded {
    QByteArray bytes;
    // The first character CP932 cannot hold, empty on success.
    QString badChar;
    bool ok() const { return badChar.isEmpty(); }
};

// Encodes to CP932 after mapping the look-alikes; nothing is replaced by '?'.
Encoded encode(const QString &text);

} // namespace Cp932
