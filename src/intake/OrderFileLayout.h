// The customer's order file: fixed records of 130 bytes (128 bytes of fields, then CR LF),
// 37 fields read one after the other by character count in CP932.
#pragma once

#include <QString>

#include <array>
#include <string_view>

namespace OrderFileLayout {

constexpr int kRecordBytes = 130;
constexpr int kFieldBytes = 128;
constexpr int kFieldCount = 37;

struct Field {
    const char *column; // column of WRK_ORDER
    int length;         // in characters
};

// In file order. There is no F18: the 36th field is the name type CAR_CD.
constexpr std::array<Field, kFieldCount> kFields = {{
    {"F01", 1},   {"F02", 2},     {"ORD_DATE", 6}, {"F03", 1},    {"F04", 1},    {"FC_CD", 6},
    {"FC_RG", 2}, {"LOT_NO", 7},  {"SET_DATE", 6}, {"HINBAN", 6}, {"S_END", 2},  {"COL", 2},
    {"F05", 1},   {"QUL_KEY", 8}, {"S_TBL", 1},    {"S_FLD", 2},  {"ROW", 2},    {"SCN", 1},
    {"F06", 4},   {"JAN", 13},    {"PRICE", 6},    {"SU", 5},     {"TAG_CD", 4}, {"SND_CD", 6},
    {"F07", 1},   {"F08", 2},     {"F09", 1},      {"F10", 1},    {"F11", 1},    {"F12", 3},
    {"F13", 4},   {"F14", 2},     {"F15", 2},      {"F16", 2},    {"F17", 11},   {"CAR_CD", 1},
    {"F19", 2},
}};

// Positions in kFields of the fields the import looks at.
constexpr int kLotNo = 7;
constexpr int kSu = 21;

// The position of a column in kFields, -1 when the file has no such field.
constexpr int indexOf(std::string_view column)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (column == kFields[size_t(i)].column)
            return i;
    return -1;
}

} // namespace OrderFileLayout

// One record as read: every field trimmed of blanks and decoded, the quantity as a number and
// the production year and month taken from the lot number.
struct OrderRecord {
    int line = 0; // IMP_LN: the record's number in the file, from 1
    std::array<QString, OrderFileLayout::kFieldCount> fields;
    int quantity = 0; // SU; a blank field is 0
    QString seisanNen;
    QString seisanTuki;

    const QString &field(const char *column) const
    {
        return fields[size_t(OrderFileLayout::indexOf(column))];
    }
};
