#include "DemoOrderFile.h"

#include "Clock.h"
#include "Cp932.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <iterator>

// The codes below match the demo masters (data/demo/*.csv); the demo tests check that every
// line of a file without planted findings passes the six master checks.

namespace DemoOrderFile {
namespace {

// splitmix64: the same numbers on every compiler and platform, unlike the distributions of
// <random>.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    QString pick(const QStringList &list) { return list.at(below(int(list.size()))); }

private:
    quint64 m_state;
};

struct Factory {
    const char *rg;
    const char *cd;
    const char *nouNo;
    char country; // first letter of the lot numbers it makes
};

const Factory kFactories[] = {
    {"TK", "J13001", "N13001", 'J'}, {"OS", "J27004", "N27004", 'J'},
    {"GF", "J21010", "N21010", 'J'}, {"OY", "J33020", "N33020", 'J'},
    {"SH", "C31005", "N31005", 'C'}, {"QD", "C37012", "N37012", 'C'},
    {"DL", "C21008", "N21008", 'C'}, {"NB", "C33015", "N33015", 'C'},
    {"SL", "K11002", "N11002", 'K'}, {"BS", "K26007", "N26007", 'K'},
};

const Factory &factory(const QString &rg)
{
    for (const Factory &f : kFactories)
        if (rg == QLatin1String(f.rg))
            return f;
    return kFactories[0];
}

struct Product {
    const char *hinban;
    const char *sizeTable;
    const char *row;
    const char *sizeFields;
    const char *qualities;
    const char *colours;
    int price;
    const char *factories;
    const char *nameTypes;
    bool tall; // also made in tall sizes (end code T, L and LL)
};

const Product kProducts[] = {
    {"OS2101", "M", "01", "01,02,03,04,05", "CT1000,CP9505", "WH,BK,NV,GY", 2900, "SH,TK", "A,D,F",
     true},
    {"OS2205", "M", "01", "01,02,03,04,05", "PE6535,CT1001", "WH,BL,BE", 4900, "DL,OS", "A,C,D,J",
     true},
    {"OS3110", "M", "01", "01,02,03,04,05", "DN9011,DN8020", "BK,NV,KH", 19000, "QD", "M,D,F,G",
     true},
    {"OS4402", "M", "02", "02,03,04,05", "JK0701", "GY,NV", 24000, "OS", "B,F,H", false},
    {"OS1520", "M", "02", "01,02,03,04", "WO1000,CS1000,AC5050", "BE,GY,NV,BR", 9900, "SL,BS",
     "B,E", false},
    {"OS5120", "W", "05", "01,02,03,04,05,06,07,08", "DE9802,DE1000", "IN,BK", 12000, "OY,GF",
     "C,F,G", false},
    {"OSL101", "L", "01", "01,02,03,04", "RY7030,PE1000", "WH,PK,BL", 5900, "DL,BS", "A,E,J",
     false},
    {"OSL220", "L", "02", "01,02,03,04", "WO8020,WL5030,AC1000", "BE,BK,RD", 7900, "SL,BS", "B,D",
     false},
    {"OSL315", "L", "01", "01,02,03", "LN1000,LC5545,SK1000", "WH,BE,NV", 8900, "TK,OS", "M,E,H",
     false},
    {"OSL402", "L", "01", "01,02,03,04", "TN1000,CT1003", "WH,BE", 6900, "TK", "A,E", false},
    {"KD1203", "K", "03", "01,02,03,04,05,06", "CT1002,PE5050", "WH,RD,YE,BL", 1900, "SH", "A,D,K",
     false},
    {"KD2210", "K", "03", "02,03,04,05,06", "KN7030,NY8515", "NV,GY", 2500, "SH,NB", "M,E", false},
    {"KD3300", "K", "03", "03,04,05,06", "DN8020", "RD,NV", 8900, "QD", "M,D", false},
    {"KDB010", "K", "03", "01,02", "BB1000", "WH,PK", 2900, "SH", "C,K", false},
    {"BL6101", "M", "01", "01,02,03,04,05", "CT1000,LN1000", "WH,NV,BL", 6900, "TK,DL", "A,D,F",
     true},
    {"BL6230", "M", "02", "01,02,03,04", "PA6040,NY1000", "BK,KH", 14000, "QD,OS", "M,F,G", false},
    {"WK7001", "M", "02", "01,02,03,04,05", "PE6535", "NV,GY,KH", 3900, "GF,DL", "B,C,L", false},
    {"WK7105", "W", "05", "02,03,04,05,06,07,08", "PE6535", "NV,KH", 4900, "GF", "B,L", false},
    {"HMT010", "F", "01", "01", "TW1000,TW8020", "WH,BE,PK,GY", 1500, "NB", "C,H", false},
    {"HMT022", "F", "01", "01", "TW1000", "WH,BL", 2500, "NB", "C,K", false},
    {"OUT901", "M", "01", "01,02,03,04", "CT1000,PE1000", "WH,BK", 1500, "SH", "E,K", false},
    {"GF3001", "M", "02", "01,02,03,04,05", "NY8515,PE1000", "WH,NV,RD", 8900, "BS,SL", "A,E,F",
     false},
};

QStringList list(const char *commaSeparated)
{
    return QString::fromLatin1(commaSeparated).split(QLatin1Char(','));
}

// The record layout of the customer's file: 37 fields, 128 characters.
struct FieldSpec {
    const char *name;
    int length;
    bool rightAligned;
};

const FieldSpec kLayout[] = {
    {"F01", 1, false},      {"F02", 2, false},     {"ORD_DATE", 6, false}, {"F03", 1, false},
    {"F04", 1, false},      {"FC_CD", 6, false},   {"FC_RG", 2, false},    {"LOT_NO", 7, false},
    {"SET_DATE", 6, false}, {"HINBAN", 6, false},  {"S_END", 2, false},    {"COL", 2, false},
    {"F05", 1, false},      {"QUL_KEY", 8, false}, {"S_TBL", 1, false},    {"S_FLD", 2, false},
    {"ROW", 2, false},      {"SCN", 1, false},     {"F06", 4, false},      {"JAN", 13, false},
    {"PRICE", 6, true},     {"SU", 5, true},       {"TAG_CD", 4, false},   {"SND_CD", 6, false},
    {"F07", 1, false},      {"F08", 2, false},     {"F09", 1, false},      {"F10", 1, false},
    {"F11", 1, false},      {"F12", 3, false},     {"F13", 4, false},      {"F14", 2, false},
    {"F15", 2, false},      {"F16", 2, false},     {"F17", 11, false},     {"CAR_CD", 1, false},
    {"F19", 2, false},
};

// One order line: field name -> text (absent fields are blank).
using Line = QHash<QString, QString>;

QString monthCode(int month)
{
    return QString(QLatin1Char("123456789XYZ"[month - 1]));
}

QString janCode(int item)
{
    QString digits = QStringLiteral("4987654") +
                     QStringLiteral("%1").arg(item % 100000, 5, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits.at(i).unicode() - '0') * (i % 2 == 0 ? 1 : 3);
    return digits + QString::number((10 - sum % 10) % 10);
}

// A quality key as the customer's system sometimes writes it: with a blank inside.
QString withBlank(const QString &key, Random &random)
{
    const int at = random.chance(50) ? 2 : 4;
    return key.left(at) + QLatin1Char(' ') + key.mid(at);
}

int quantity(int base, int sizeIndex, int sizeCount, Random &random)
{
    if (random.chance(3))
        return random.between(1, 9);
    if (random.chance(1))
        return random.between(10000, 99999);
    // Middle sizes sell best.
    const int middle = sizeCount / 2;
    const int weight = 100 - 20 * qAbs(sizeIndex - middle);
    const int q = base * qMax(weight, 30) / 100 + random.between(-base / 10, base / 10);
    return qBound(1, (q + 5) / 10 * 10, 99999);
}

QDate setDateAfter(const QDate &date, Random &random)
{
    QDate d = date.addDays(random.between(3, 10));
    if (d.dayOfWeek() == Qt::Sunday)
        d = d.addDays(1);
    return d;
}

struct LotContext {
    QDate date;
    Random &random;
    int lotSerial;
};

QList<Line> lotLines(LotContext &ctx)
{
    Random &random = ctx.random;
    const Product &product = kProducts[random.below(int(std::size(kProducts)))];
    const Factory &maker = factory(random.pick(list(product.factories)));
    const QDate produced = ctx.date.addMonths(-random.below(3));
    ctx.lotSerial += random.between(1, 7);
    const QString lotNo = QLatin1Char(maker.country) + monthCode(produced.month()) +
                          QStringLiteral("%1").arg(ctx.lotSerial % 100000, 5, 10, QLatin1Char('0'));
    const QString setDate = setDateAfter(ctx.date, random).toString(QStringLiteral("yyMMdd"));

    QStringList nameTypes = list(product.nameTypes);
    QStringList lotNameTypes{random.pick(nameTypes)};
    nameTypes.removeAll(lotNameTypes.first());
    if (!nameTypes.isEmpty() && random.chance(30))
        lotNameTypes << random.pick(nameTypes);

    const QString quality = random.pick(list(product.qualities));
    const QString qualityField = random.chance(15) ? withBlank(quality, random) : quality;

    QStringList colours = list(product.colours);
    QStringList lotColours;
    const int colourCount = random.between(1, qMin(3, int(colours.size())));
    while (lotColours.size() < colourCount)
        lotColours << colours.takeAt(random.below(int(colours.size())));

    const QStringList sizes = list(product.sizeFields);
    QStringList lotSizes;
    QString endCode;
    if (product.tall && random.chance(15)) {
        lotSizes = {QStringLiteral("03"), QStringLiteral("04")};
        endCode = QStringLiteral("T");
    } else {
        const int count =
            sizes.size() <= 2 ? int(sizes.size()) : random.between(2, int(sizes.size()));
        const int first = random.below(int(sizes.size()) - count + 1);
        lotSizes = sizes.mid(first, count);
        // A and M are end codes the customer sends but the size master does not know.
        const int r = random.below(100);
        endCode = r < 8 ? QStringLiteral("A") : r < 16 ? QStringLiteral("M") : QString();
    }

    QString note; // half-width katakana notes of the customer's staff
    QString mark;
    const int r = random.below(100);
    if (r < 4) {
        note = QStringLiteral("ｼｷｭｳ");
        mark =
            QStringLiteral("急"); // the only double-byte text: last field, record stays 130 bytes
    } else if (r < 9) {
        note = QStringLiteral("ｻｲﾊｯｺｳ");
    } else if (r < 14) {
        note = QStringLiteral("ﾂｲｶ");
    }

    static const int bases[] = {30, 50, 100, 200, 300, 500, 800, 1000, 1500, 2000, 3000, 5000};
    const int base = bases[random.below(int(std::size(bases)))];
    const bool colourCoded = QByteArray("MLK").contains(product.sizeTable[0]);
    const int productIndex = int(&product - kProducts);

    QList<Line> lines;
    for (const QString &nameType : lotNameTypes) {
        const bool sizeLabel = nameType == QLatin1String("D") || nameType == QLatin1String("E");
        for (int c = 0; c < lotColours.size(); ++c) {
            for (int s = 0; s < lotSizes.size(); ++s) {
                Line l;
                l[QStringLiteral("FC_CD")] = QLatin1String(maker.cd);
                l[QStringLiteral("FC_RG")] = QLatin1String(maker.rg);
                l[QStringLiteral("LOT_NO")] = lotNo;
                l[QStringLiteral("SET_DATE")] = setDate;
                l[QStringLiteral("HINBAN")] = QLatin1String(product.hinban);
                l[QStringLiteral("S_END")] = endCode;
                l[QStringLiteral("QUL_KEY")] = qualityField;
                l[QStringLiteral("S_TBL")] = QLatin1String(product.sizeTable);
                l[QStringLiteral("S_FLD")] = lotSizes.at(s);
                l[QStringLiteral("ROW")] = QLatin1String(product.row);
                const bool scn = sizeLabel && colourCoded && random.chance(70);
                l[QStringLiteral("SCN")] = scn ? QStringLiteral("C") : QString();
                l[QStringLiteral("COL")] = scn && random.chance(50) ? QString() : lotColours.at(c);
                const int sizeIndex = int(sizes.indexOf(lotSizes.at(s)));
                l[QStringLiteral("JAN")] = janCode(productIndex * 1000 + c * 10 + sizeIndex);
                l[QStringLiteral("PRICE")] = QString::number(product.price);
                l[QStringLiteral("SU")] =
                    QString::number(quantity(base, s, int(lotSizes.size()), random));
                l[QStringLiteral("TAG_CD")] =
                    QStringLiteral("T%1").arg(productIndex + 1, 3, 10, QLatin1Char('0'));
                l[QStringLiteral("SND_CD")] = QLatin1String(maker.nouNo);
                l[QStringLiteral("F17")] = note;
                l[QStringLiteral("CAR_CD")] = nameType;
                l[QStringLiteral("F19")] = mark;
                lines << l;
            }
        }
    }
    return lines;
}

// The lines that fail one master check each, spread over the file:
// 0 product-number class, 1 factory pair, 2 blank quality key, 3 quality key, 4 size key,
// 5 size-row pair, 6 row.
constexpr int kPlantedKinds = 7;

int plantedLine(int kind, int lines)
{
    if (lines < kPlantedKinds)
        return kind < lines ? kind + 1 : 0;
    return (2 * kind + 1) * lines / (2 * kPlantedKinds) + 1;
}

void plant(Line &l, int kind)
{
    auto size = [&](const char *table, const char *field, const char *row) {
        l[QStringLiteral("S_TBL")] = QLatin1String(table);
        l[QStringLiteral("S_FLD")] = QLatin1String(field);
        l[QStringLiteral("ROW")] = QLatin1String(row);
        l[QStringLiteral("S_END")] = QString();
        l[QStringLiteral("SCN")] = QString();
        if (l.value(QStringLiteral("COL")).isEmpty())
            l[QStringLiteral("COL")] = QStringLiteral("WH");
    };
    switch (kind) {
    case 0: // a product-number class the class master does not know
        l[QStringLiteral("HINBAN")] =
            QStringLiteral("ZT9") + l.value(QStringLiteral("HINBAN")).right(3);
        break;
    case 1: // the factory's abbreviation with a mistyped factory code
        l[QStringLiteral("FC_CD")] = l.value(QStringLiteral("FC_CD")).left(5) + QLatin1Char('9');
        break;
    case 2:
        l[QStringLiteral("QUL_KEY")] = QString();
        break;
    case 3: // a new quality not yet in the quality master
        l[QStringLiteral("QUL_KEY")] = QStringLiteral("QN 9001");
        break;
    case 4: // kids 150 on the kids row: a valid size row, but no size master row yet
        size("K", "07", "03");
        break;
    case 5: // free size on row 02: in the size master, but not a size-row pair
        size("F", "01", "02");
        break;
    case 6: // row 99 was withdrawn from the row master
        size("M", "02", "99");
        break;
    }
}

QByteArray encodeField(const QString &text, const FieldSpec &field)
{
    QByteArray bytes = Cp932::encode(text).bytes;
    // Padding counts bytes: a double-byte character fills two of the field's positions, so
    // the record stays 128 bytes and the next record starts where the reader expects it.
    const QByteArray blanks(qMax(0, field.length - int(bytes.size())), ' ');
    bytes = field.rightAligned ? blanks + bytes : bytes + blanks;
    Q_ASSERT(bytes.size() == field.length);
    return bytes.left(field.length);
}

QByteArray record(const Line &line)
{
    QByteArray bytes;
    bytes.reserve(130);
    for (const FieldSpec &field : kLayout)
        bytes += encodeField(line.value(QLatin1String(field.name)), field);
    return bytes + "\r\n";
}

} // namespace

QByteArray generate(const Options &options)
{
    const QDate date = options.date.isValid() ? options.date : Clock::today();
    if (options.lines <= 0)
        return {};
    Random random(options.seed);
    LotContext ctx{date, random, 10000 + random.below(50000)};
    QList<Line> lines;
    while (lines.size() < options.lines)
        lines += lotLines(ctx);
    lines.resize(options.lines);

    const int n = options.lines;
    if (n >= 10) { // both ends of the quantity field, right-aligned
        lines[n / 5][QStringLiteral("SU")] = QStringLiteral("1");
        lines[n / 2][QStringLiteral("SU")] = QStringLiteral("99999");
    }
    if (options.plantFindings) {
        for (int kind = 0; kind < kPlantedKinds; ++kind) {
            const int at = plantedLine(kind, n);
            if (at > 0)
                plant(lines[at - 1], kind);
        }
    }

    const QString orderDate = date.toString(QStringLiteral("yyMMdd"));
    QByteArray file;
    file.reserve(n * 130);
    for (Line &l : lines) {
        l[QStringLiteral("F01")] = QStringLiteral("1");
        l[QStringLiteral("F02")] = QStringLiteral("01");
        l[QStringLiteral("ORD_DATE")] = orderDate;
        l[QStringLiteral("F03")] = QStringLiteral("0");
        l[QStringLiteral("F04")] = QStringLiteral("1");
        l[QStringLiteral("F06")] = QStringLiteral("0000");
        l[QStringLiteral("F07")] = QStringLiteral("0");
        l[QStringLiteral("F08")] = QStringLiteral("00");
        l[QStringLiteral("F09")] = QStringLiteral("0");
        l[QStringLiteral("F10")] = QStringLiteral("0");
        l[QStringLiteral("F11")] = QStringLiteral("0");
        l[QStringLiteral("F12")] = QStringLiteral("000");
        l[QStringLiteral("F13")] = QStringLiteral("0000");
        l[QStringLiteral("F14")] = QStringLiteral("00");
        l[QStringLiteral("F15")] = QStringLiteral("00");
        l[QStringLiteral("F16")] = QStringLiteral("00");
        file += record(l);
    }
    return file;
}

} // namespace DemoOrderFile
