// One column's values from the existing system's text to what the desk stores: char padding
// removed, dates in the desk's forms, numbers as integers (or the price's decimals). A value
// that cannot be converted is refused with its reason: a NUL, text CP932 cannot hold, a number
// that is none or is out of the column's range.
#pragma once

#include "CarriedTables.h"
#include "MasterFiles.h"

#include <QString>
#include <QVariant>

#include <optional>

class ColumnConversion {
public:
    ColumnConversion(const QString &table, const MasterFiles::Column &column);

    const MasterFiles::Column &column() const { return m_column; }

    // The value to store; std::nullopt with *reason. fromCp932: the text was decoded from
    // CP932, so CP932 holds it.
    std::optional<QVariant> convert(const QString &text, bool fromCp932, QString *reason) const;

private:
    QString text(const QString &value) const;

    MasterFiles::Column m_column;
    CarriedTables::Form m_form;
};
