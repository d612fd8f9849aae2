// A realistic day's order file for the demo masters: 130-byte CP932 records (128 characters
// of fields + CR LF) with the exact field positions of the customer's file.
#pragma once

#include <QByteArray>
#include <QDate>

namespace DemoOrderFile {

struct Options {
    QDate date;                // order date of the file (set dates follow it)
    int lines = 300;           // number of records
    quint32 seed = 1;          // same seed, same file
    bool plantFindings = true; // a few lines that fail each of the six checks
};

QByteArray generate(const Options &options);

} // namespace DemoOrderFile
