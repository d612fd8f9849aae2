#include "MenuFile.h"

#include "Cp932.h"
#include "Utilities.h"

#include <QFile>
#include <QStringDecoder>

#include <csv.h>

#include <cmath>

namespace {

const QStringList kColumns = {QStringLiteral("Menu_No"), QStringLiteral("Menu_No_IDX"),
                              QStringLiteral("Menu_Name"), QStringLiteral("Menu_Ku"),
                              QStringLiteral("Next_P")};

// Collects the records libcsv reports.
struct Collector {
    QList<QStringList> records;
    QStringList current;
};

void onField(void *data, size_t len, void *user)
{
    auto *c = static_cast<Collector *>(user);
    c->current << QString::fromUtf8(static_cast<const char *>(data), qsizetype(len));
}

void onRecord(int, void *user)
{
    auto *c = static_cast<Collector *>(user);
    c->records << c->current;
    c->current.clear();
}

// The file's text: UTF-8 (a byte-order mark is dropped), else CP932.
std::optional<QString> decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    return Cp932::decode(bytes);
}

std::optional<QList<QStringList>> parseRecords(const QByteArray &utf8, QString *error)
{
    csv_parser parser;
    if (csv_init(&parser, 0) != 0) {
        *error = QStringLiteral("CSVの読取りを開始できません。");
        return std::nullopt;
    }
    Collector collector;
    const size_t done =
        csv_parse(&parser, utf8.constData(), size_t(utf8.size()), onField, onRecord, &collector);
    const bool failed = done != size_t(utf8.size());
    if (!failed)
        csv_fini(&parser, onField, onRecord, &collector);
    if (failed)
        *error = QString::fromLocal8Bit(csv_strerror(csv_error(&parser)));
    csv_free(&parser);
    if (failed)
        return std::nullopt;
    return collector.records;
}

QString field(const QStringList &record, int column)
{
    return column >= 0 && column < record.size() ? record.at(column) : QString();
}

} // namespace

MenuFile MenuFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MenuFile menu;
        menu.m_error = QStringLiteral("ファイルを開けません（%1）。").arg(file.errorString());
        return menu;
    }
    return parse(file.readAll());
}

MenuFile MenuFile::parse(const QByteArray &bytes)
{
    MenuFile menu;
    const auto text = decodeText(bytes);
    if (!text) {
        menu.m_error = QStringLiteral("文字コードが正しくありません。");
        return menu;
    }
    const auto records = parseRecords(text->toUtf8(), &menu.m_error);
    if (!records)
        return menu;
    if (records->isEmpty()) {
        menu.m_error = QStringLiteral("見出し行がありません。");
        return menu;
    }

    QList<int> columnOf;
    const QStringList &header = records->first();
    for (const QString &name : kColumns) {
        int found = -1;
        for (int i = 0; i < header.size() && found < 0; ++i)
            if (header.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0) {
            menu.m_error = QStringLiteral("見出し行に列 %1 がありません。").arg(name);
            return menu;
        }
        columnOf << found;
    }

    for (int r = 1; r < records->size(); ++r) {
        const QStringList &record = records->at(r);
        MenuRow row;
        row.line = r + 1;
        row.menuNo = field(record, columnOf[0]);
        row.position = field(record, columnOf[1]);
        row.name = field(record, columnOf[2]);
        row.kind = field(record, columnOf[3]);
        row.next = field(record, columnOf[4]);
        menu.m_rows << row;
    }
    return menu;
}

MenuLevel MenuFile::level(const QString &menuNo) const
{
    MenuLevel level;
    for (const MenuRow &row : m_rows) {
        if (row.menuNo != menuNo)
            continue;
        bool whole = false;
        const int n = row.position.trimmed().toInt(&whole);
        // QString::toInt stops at a NUL and takes "3" + NUL + anything for 3.
        if (!whole || n < 0 || n > 16 || row.position.contains(QChar(u'\0'))) {
            level.problems << QStringLiteral("%1行目: 位置「%2」は0から16の数字ではありません。")
                                  .arg(row.line)
                                  .arg(row.position);
            continue;
        }
        if (n == 0) {
            level.hasTitle = true;
            level.title = row.name;
            continue;
        }
        level.entries[size_t(n)] = {row.name, row.kind, row.next};
    }
    return level;
}

int MenuFile::entryNumberOf(const QString &typed)
{
    if (typed.size() >= 15 || !isNumericText(typed))
        return 0;
    bool ok = false;
    const double value = typed.trimmed().toDouble(&ok);
    if (!ok)
        return 0;
    // nearbyint rounds to nearest with ties to even under the default rounding mode.
    const double n = std::nearbyint(value);
    return n >= 1 && n <= 16 ? int(n) : 0;
}
