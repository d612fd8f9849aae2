// Order records for tests: fields by name, padded with blanks to their width in bytes (a
// double-byte character fills two positions, as the customer's system writes it), CP932.
#pragma once

#include "Cp932.h"
#include "OrderFileLayout.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class OrderLine {
public:
    // A line every test master accepts (see OrderTestMasters.h).
    OrderLine()
    {
        set("F01", "1").set("F02", "01").set("ORD_DATE", "261201").set("FC_CD", "J13001");
        set("FC_RG", "TK").set("LOT_NO", "JZ00001").set("SET_DATE", "261210");
        set("HINBAN", "OS2101").set("COL", "NV").set("QUL_KEY", "CT1000").set("S_TBL", "M");
        set("S_FLD", "02").set("ROW", "01").set("SU", "100").set("CAR_CD", "A");
    }

    OrderLine &set(const char *column, const QString &value)
    {
        m_values[QLatin1String(column)] = value;
        return *this;
    }
    OrderLine &set(const char *column, const char *value)
    {
        return set(column, QString::fromUtf8(value));
    }

    // The 130 bytes of the record (128 of fields, CR LF).
    QByteArray record() const
    {
        QByteArray bytes;
        for (const auto &field : OrderFileLayout::kFields) {
            QByteArray value = Cp932::encode(m_values.value(QLatin1String(field.column))).bytes;
            value = value.left(field.length);
            bytes += value + QByteArray(field.length - value.size(), ' ');
        }
        return bytes + "\r\n";
    }

private:
    QHash<QString, QString> m_values;
};

inline QByteArray orderFile(const QList<OrderLine> &lines)
{
    QByteArray file;
    for (const OrderLine &line : lines)
        file += line.record();
    return file;
}

#include <ostream>

// Readable failures: QString values printed as text.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
