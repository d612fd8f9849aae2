// Any values through the output CSV writer's quoting: the line, read back by an independent
// parser (libcsv, strict), gives exactly the values written, also after the line has gone to
// CP932 and back the way the output files are written.
#include "Cp932.h"
#include "CsvFile.h"

#include <QStringList>

#include <csv.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "csv quoting: %s\n", what);
        std::abort();
    }
}

struct Parsed {
    QList<QStringList> records;
    QStringList current;
};

void onField(void *data, size_t len, void *user)
{
    static_cast<Parsed *>(user)->current
        << QString::fromUtf8(static_cast<const char *>(data), qsizetype(len));
}

void onRecord(int, void *user)
{
    auto *p = static_cast<Parsed *>(user);
    p->records << p->current;
    p->current.clear();
}

// The records of a text in UTF-8, read strictly (a stray quote is an error).
QList<QStringList> parse(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    csv_parser parser;
    require(csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) == 0, "parser");
    Parsed parsed;
    const size_t done =
        csv_parse(&parser, bytes.constData(), size_t(bytes.size()), onField, onRecord, &parsed);
    require(done == size_t(bytes.size()), "the line does not parse");
    require(csv_fini(&parser, onField, onRecord, &parsed) == 0, "the line ends inside a value");
    csv_free(&parser);
    return parsed.records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QStringList values;
    const int count = input.ConsumeIntegralInRange<int>(1, 80);
    for (int i = 0; i < count && input.remaining_bytes() > 0; ++i)
        values << QString::fromStdString(input.ConsumeRandomLengthString(64));
    if (values.isEmpty())
        values << QString();

    const QString line = CsvFile::line(values);
    const QList<QStringList> records = parse(line + QStringLiteral("\r\n"));
    require(records.size() == 1, "one line gives one record");
    require(records.first() == values, "values differ after reading back");

    const Cp932::Encoded encoded = Cp932::encode(line);
    if (!encoded.ok())
        return 0; // refused with the 管理No message by the writer; nothing to read back
    const auto decoded = Cp932::decode(encoded.bytes);
    require(decoded.has_value(), "written bytes are not CP932");
    QStringList expected;
    for (const QString &v : values)
        expected << Cp932::decode(Cp932::encode(v).bytes).value_or(QStringLiteral("\x01"));
    const QList<QStringList> again = parse(*decoded + QStringLiteral("\r\n"));
    require(again.size() == 1 && again.first() == expected, "values differ after CP932");
    return 0;
}
