#include "OrderFileReader.h"

#include "Cp932.h"
#include "Utilities.h"

#include <cstring>

namespace {

using namespace OrderFileLayout;

// Most fields are ASCII or half-width katakana; those are decoded here without iconv, which
// matters on a file of a hundred thousand records. Anything else goes through the codec.
bool decodeSingleBytes(const char *data, int size, QString &out)
{
    out.resize(size);
    QChar *to = out.data();
    for (int i = 0; i < size; ++i) {
        const auto b = uchar(data[i]);
        if (b < 0x80)
            to[i] = QChar(b);
        else if (b >= 0xA1 && b <= 0xDF)
            to[i] = QChar(0xFF61 + (b - 0xA1));
        else
            return false;
    }
    return true;
}

bool decodeField(const char *data, int size, QString &out)
{
    if (decodeSingleBytes(data, size, out))
        return true;
    const auto decoded = Cp932::decode(QByteArray(data, size));
    if (!decoded)
        return false;
    out = *decoded;
    return true;
}

// Blanks (0x20) only; a 0x20 byte is never the second byte of a double-byte character.
void trimBlanks(const char *&data, int &size)
{
    while (size > 0 && data[0] == ' ') {
        ++data;
        --size;
    }
    while (size > 0 && data[size - 1] == ' ')
        --size;
}

// Blank is 0; otherwise an optional sign and digits, as the quantity column takes them.
bool parseQuantity(const QString &text, int &value)
{
    if (text.isEmpty()) {
        value = 0;
        return true;
    }
    int i = (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (int k = i; k < text.size(); ++k)
        if (text.at(k) < QLatin1Char('0') || text.at(k) > QLatin1Char('9'))
            return false;
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

} // namespace

OrderFileReader::OrderFileReader(QByteArrayView bytes, const QDate &today, int firstLine)
    : m_bytes(bytes), m_today(today), m_firstLine(firstLine)
{
}

int OrderFileReader::recordCount(qint64 fileSize)
{
    return fileSize <= kRecordBytes ? 1 : int((fileSize + kRecordBytes - 1) / kRecordBytes);
}

bool OrderFileReader::read(int n, OrderRecord &record, QString *reason) const
{
    auto refuse = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    const qint64 offset = qint64(n - m_firstLine) * kRecordBytes;
    // The line end is never read: the fields are the first 128 bytes of the record.
    if (offset < 0 || m_bytes.size() - offset < kFieldBytes)
        return refuse(shortRecordReason());
    const char *data = m_bytes.data() + offset;
    if (std::memchr(data, 0, kFieldBytes))
        return refuse(nulReason());

    record.line = n;
    int pos = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        const int length =
            Cp932::byteLengthOfChars(data + pos, kFieldBytes - pos, kFields[size_t(i)].length);
        const char *fieldData = data + pos;
        int fieldSize = length;
        pos += length;
        trimBlanks(fieldData, fieldSize);
        if (!decodeField(fieldData, fieldSize, record.fields[size_t(i)]))
            return refuse(encodingReason());
    }
    if (!parseQuantity(record.fields[kSu], record.quantity))
        return refuse(quantityReason());

    // The lot number's second character is the production month; the year is the one that
    // puts that month nearest to today.
    const QString yearMonth = monthCodeToYearMonth(record.fields[kLotNo].mid(1, 1), m_today);
    record.seisanNen = yearMonth.left(2);
    record.seisanTuki = yearMonth.right(2);
    return true;
}

QString OrderFileReader::refusalMessage(int n, const QString &reason)
{
    return QStringLiteral("取込ファイルの") + QString::number(n) + QStringLiteral("件目: ") +
           reason;
}

QString OrderFileReader::shortRecordReason()
{
    return QStringLiteral("レコードの長さが足りません。");
}

QString OrderFileReader::quantityReason()
{
    return QStringLiteral("数量が数値ではありません。");
}

QString OrderFileReader::encodingReason()
{
    return QStringLiteral("文字コードが正しくありません。");
}

QString OrderFileReader::nulReason()
{
    return QStringLiteral("NUL文字が含まれています。");
}
