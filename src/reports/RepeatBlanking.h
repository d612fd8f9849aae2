// The order list's rule for lot, control number, production year and product number: a value
// equal to the one above it on the same page is left blank, unless a column to its left
// printed on this line. The first line of every page prints all four.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class RepeatBlanking {
public:
    static constexpr int kColumns = 4;

    // Back to the start of a page: the next line prints every column.
    void restart();
    // The texts to print for one line (blank where the value repeats), in column order.
    std::array<QString, kColumns> line(const std::array<QString, kColumns> &values);

private:
    // nullopt is the start marker: the next value prints whatever it is.
    std::array<std::optional<QString>, kColumns> m_remembered;
};
