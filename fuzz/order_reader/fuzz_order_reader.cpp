// Any bytes as an order file: the reader either refuses a record with one of its four reasons
// or gives fields that match an independent reading of the same bytes (by character count,
// blanks trimmed, decoded by the codec), whatever part of the file it is handed.
#include "Cp932.h"
#include "OrderFileReader.h"

#include <QByteArrayView>
#include <QDate>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace OrderFileLayout;

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "order reader: %s\n", what);
        std::abort();
    }
}

QByteArray trimmedBlanks(QByteArray bytes)
{
    while (bytes.startsWith(' '))
        bytes.remove(0, 1);
    while (bytes.endsWith(' '))
        bytes.chop(1);
    return bytes;
}

// The fields as an independent reading gives them; false when the record must be refused.
bool expectedFields(const char *record, QStringList &fields)
{
    int pos = 0;
    for (const Field &field : kFields) {
        const int length = Cp932::byteLengthOfChars(record + pos, kFieldBytes - pos, field.length);
        const auto decoded = Cp932::decode(trimmedBlanks(QByteArray(record + pos, length)));
        if (!decoded)
            return false;
        fields << *decoded;
        pos += length;
    }
    return true;
}

void checkRecord(QByteArrayView file, const OrderFileReader &reader, int n)
{
    OrderRecord record;
    QString reason;
    const bool read = reader.read(n, record, &reason);
    const qint64 offset = qint64(n - 1) * kRecordBytes;
    if (file.size() - offset < kFieldBytes) {
        require(!read && reason == OrderFileReader::shortRecordReason(), "short record read");
        return;
    }
    const char *bytes = file.data() + offset;
    if (QByteArrayView(bytes, kFieldBytes).contains('\0')) {
        require(!read && reason == OrderFileReader::nulReason(), "NUL byte not refused");
        return;
    }
    QStringList fields;
    if (!expectedFields(bytes, fields)) {
        require(!read && reason == OrderFileReader::encodingReason(), "bad bytes not refused");
        return;
    }
    if (!read) {
        require(reason == OrderFileReader::quantityReason(), "unexpected refusal");
        return;
    }
    require(record.line == n, "line number");
    for (int i = 0; i < kFieldCount; ++i) {
        require(record.fields[size_t(i)] == fields.at(i), "field differs");
        require(record.fields[size_t(i)].size() <= kFields[size_t(i)].length, "field too long");
    }
    require(fields.at(kSu).isEmpty() ? record.quantity == 0
                                     : record.quantity == fields.at(kSu).toInt(),
            "quantity");
    require(record.seisanNen.size() == 2 && record.seisanTuki.size() == 2, "production month");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDate today(2026, 12, 8);
    const int count = OrderFileReader::recordCount(file.size());
    require(count >= 1 && qint64(count - 1) * kRecordBytes < qMax<qint64>(file.size(), 1),
            "record count");
    const OrderFileReader whole(file, today);
    for (int n = 1; n <= count; ++n)
        checkRecord(file, whole, n);

    // The same records read from the second record on, as the import reads a file in parts.
    if (count >= 2) {
        const OrderFileReader part(file.sliced(kRecordBytes), today, 2);
        OrderRecord a;
        OrderRecord b;
        for (int n = 2; n <= count; ++n) {
            QString ra;
            QString rb;
            const bool readA = whole.read(n, a, &ra);
            const bool readB = part.read(n, b, &rb);
            require(readA == readB && ra == rb, "part differs");
            require(!readA || (a.fields == b.fields && a.quantity == b.quantity), "part fields");
        }
    }
    return 0;
}
