// The desk's CSV lines, written in one place. Files for the printers and the artwork room
// quote every value ("a","b""c",""); master files quote only a value that needs it (a comma,
// a quote, a line break, blanks at either end), so that they stay readable in a spreadsheet.
// Neither adds the line end: the files differ in it (CR LF, LF).
#pragma once

#include <QString>
#include <QStringList>

namespace CsvLine {
// Every value in double quotes, an inner quote doubled.
QString quoted(const QStringList &values);
// Quotes only where needed. A line of one empty value is "" so that a reader does not skip it.
QString minimal(const QStringList &values);
} // namespace CsvLine
