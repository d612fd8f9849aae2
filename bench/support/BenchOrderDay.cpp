#include "BenchOrderDay.h"

#include "BenchSupport.h"
#include "BulkWorkTuning.h"
#include "ConsoleDialogs.h"
#include "Cp932.h"
#include "Db.h"
#include "DemoOrderFile.h"
#include "OrderBulkUpdate.h"
#include "OrderCheck.h"
#include "Progress.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace {

// Field widths of the customer's 128-byte record, in order.
struct Field {
    const char *name;
    int length;
};
const Field kFields[] = {
    {"F01", 1},   {"F02", 2},     {"ORD_DATE", 6}, {"F03", 1},    {"F04", 1},    {"FC_CD", 6},
    {"FC_RG", 2}, {"LOT_NO", 7},  {"SET_DATE", 6}, {"HINBAN", 6}, {"S_END", 2},  {"COL", 2},
    {"F05", 1},   {"QUL_KEY", 8}, {"S_TBL", 1},    {"S_FLD", 2},  {"ROW", 2},    {"SCN", 1},
    {"F06", 4},   {"JAN", 13},    {"PRICE", 6},    {"SU", 5},     {"TAG_CD", 4}, {"SND_CD", 6},
    {"F07", 1},   {"F08", 2},     {"F09", 1},      {"F10", 1},    {"F11", 1},    {"F12", 3},
    {"F13", 4},   {"F14", 2},     {"F15", 2},      {"F16", 2},    {"F17", 11},   {"CAR_CD", 1},
    {"F19", 2},
};

using Line = std::map<QString, QString>;

QString slashDate(const QString &yymmdd)
{
    return QStringLiteral("20") + yymmdd.left(2) + QLatin1Char('/') + yymmdd.mid(2, 2) +
           QLatin1Char('/') + yymmdd.mid(4, 2);
}

QList<Line> readOrderFile(const QByteArray &file)
{
    QList<Line> lines;
    for (qsizetype at = 0; at + 128 <= file.size(); at += 130) {
        Line l;
        qsizetype pos = at;
        for (const Field &f : kFields) {
            l[QLatin1String(f.name)] =
                Cp932::decode(file.mid(pos, f.length)).value_or(QString()).trimmed();
            pos += f.length;
        }
        l[QStringLiteral("QUL_KEY")].remove(QLatin1Char(' '));
        l[QStringLiteral("ORD_DATE")] = slashDate(l[QStringLiteral("ORD_DATE")]);
        l[QStringLiteral("SET_DATE")] = slashDate(l[QStringLiteral("SET_DATE")]);
        lines << l;
    }
    return lines;
}

// Control numbers as the import gives them: one per factory, set date, name type and lot,
// counted per factory.
QStringList controlNumbers(const QList<Line> &lines)
{
    QList<int> order(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        order[i] = i;
    const auto key = [&](int i) {
        const Line &l = lines[i];
        return l.at("FC_RG") + QLatin1Char('\t') + l.at("SET_DATE") + QLatin1Char('\t') +
               l.at("CAR_CD") + QLatin1Char('\t') + l.at("LOT_NO");
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    QStringList numbers(lines.size());
    QHash<QString, int> counters;
    QString previous;
    int n = 0;
    for (int i : order) {
        const QString k = key(i);
        if (k != previous) {
            n = ++counters[lines[i].at("FC_RG")];
            previous = k;
        }
        numbers[i] = lines[i].at("FC_RG") + QLatin1Char('-') +
                     QStringLiteral("%1").arg(n % 1000, 3, 10, QLatin1Char('0'));
    }
    return numbers;
}

} // namespace

void loadBenchDay(Db &db, int count)
{
    DemoOrderFile::Options options;
    options.date = QDate(2026, 12, 8);
    options.lines = count;
    options.plantFindings = false;
    const QList<Line> lines = readOrderFile(DemoOrderFile::generate(options));
    const QStringList numbers = controlNumbers(lines);
    const QStringList columns = {"IMP_DATE", "IMP_LN",   "KNR_NO",   "LOT_NO",    "FC_RG",
                                 "FC_CD",    "ORD_DATE", "SET_DATE", "HINBAN",    "COL",
                                 "S_END",    "S_TBL",    "S_FLD",    "ROW",       "SCN",
                                 "SU",       "QUL_KEY",  "CAR_CD",   "SEIZOUMOTO"};
    BulkInserter bulk(db, QStringLiteral("TBL_ORDER"), columns);
    for (int i = 0; i < lines.size(); ++i) {
        const Line &l = lines[i];
        QVariantList row{kBenchDay, i + 1, numbers[i]};
        for (int c = 3; c < columns.size() - 1; ++c)
            row << (columns[c] == QLatin1String("SU") ? QVariant(l.at("SU").toInt())
                                                      : QVariant(l.at(columns[c])));
        row << QStringLiteral("株式会社　オステラ");
        bulk.add(row);
    }
    bulk.finish();
    db.exec(QStringLiteral("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, '0')"),
            {{QStringLiteral("d"), kBenchDay}});

    // Printers as the operators set them with the bulk update: tags and the plain quality
    // label on the letterpress, everything else thermal.
    SilentDialogs quiet;
    OrderBulkUpdate update(db, quiet);
    const OrderCondition day = OrderCondition::where(QStringLiteral("IMP_DATE = "), kBenchDay);
    const OrderCondition letterpress =
        OrderCondition(day).add(QStringLiteral("CAR_CD IN ('B', 'G', 'H')"));
    if (update.apply({QString(), QStringLiteral("TT-200"), QStringLiteral("1"), QString()}, day) !=
            Outcome::Done ||
        update.apply({QString(), QStringLiteral("ロータリー凸版"), QStringLiteral("0"), QString()},
                     letterpress) != Outcome::Done)
        die(QStringLiteral("printer assignment failed"));

    // Completed from the masters and checked, as the import leaves a day.
    refreshDayStatistics(db);
    NullProgress progress;
    if (checkDay(db, quiet, progress, kBenchDay, CheckCaller::Import) != Outcome::Done)
        die(QStringLiteral("the check of the day failed"));
}
