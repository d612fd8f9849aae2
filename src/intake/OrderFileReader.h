// Reads the customer's order file from its bytes: record n from byte (n - 1) * 130, 37 fields
// by CP932 character count (a double-byte character counts as one, so it shifts the later
// fields of its own record only), each trimmed of blanks. No database, no widgets.
#pragma once

#include "OrderFileLayout.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>

class OrderFileReader {
public:
    // `bytes` is the file from the start of record `firstLine` (the whole file, or a part of
    // it read in turn); `today` chooses the year of the lot numbers' month codes.
    OrderFileReader(QByteArrayView bytes, const QDate &today, int firstLine = 1);

    // Records n = 1, 2, ... while n * 130 < file length, at least one: a file whose last line
    // end is missing (k * 130 - 2 bytes) still gives k records.
    static int recordCount(qint64 fileSize);

    // Reads record n (counted from the start of the file). On a refusal returns false and sets
    // reason to one of the texts below; the record is then not usable.
    bool read(int n, OrderRecord &record, QString *reason) const;

    // "取込ファイルの" + n + "件目: " + reason
    static QString refusalMessage(int n, const QString &reason);

    static QString shortRecordReason();
    static QString quantityReason();
    static QString encodingReason();
    static QString nulReason();

private:
    QByteArrayView m_bytes;
    QDate m_today;
    int m_firstLine;
};
