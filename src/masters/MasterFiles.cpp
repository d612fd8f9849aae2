#include "MasterFiles.h"

#include "CsvLine.h"
#include "Db.h"
#include "FactoryMaster.h"
#include "Progress.h"
#include "RunLock.h"
#include "SqlDialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlRecord>
#include <QStringDecoder>
#include <QVariantList>

#include <csv.h>

#include <functional>
#include <limits>
#include <optional>

struct MasterFiles::Parsed {
    QString table;
    QStringList columns;
    QList<QVariantList> rows;
};

namespace {

// --- reading CSV with libcsv, keeping the line on which each record starts ------------------

struct CsvFailure {
    int line = 0;
    QString reason;
};

using RecordHandler = std::function<bool(int line, const QList<QByteArray> &fields)>;

struct ParseState {
    QList<QByteArray> fields;
    int line = 0;       // the line being fed to the parser
    int recordLine = 0; // the line the current record began on
    bool recordOpen = false;
    bool stopped = false;
    RecordHandler handler;
};

void onField(void *text, size_t length, void *data)
{
    auto *state = static_cast<ParseState *>(data);
    if (state->stopped)
        return;
    if (!state->recordOpen) { // a record that began after a bare CR in the middle of a line
        state->recordOpen = true;
        state->recordLine = state->line;
    }
    state->fields.append(QByteArray(static_cast<const char *>(text), qsizetype(length)));
}

void onRecordEnd(int, void *data)
{
    auto *state = static_cast<ParseState *>(data);
    if (!state->stopped && !state->handler(state->recordLine, state->fields))
        state->stopped = true;
    state->fields.clear();
    state->recordOpen = false;
}

bool isBlankLine(QByteArrayView line)
{
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    return true;
}

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

// Feeds the file line by line so that every record and every fault carries its line number.
// Stops at the first fault, or when the handler returns false.
std::optional<CsvFailure> readCsv(QByteArray data, const RecordHandler &handler)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
        return CsvFailure{0, QStringLiteral("CSVの読込みを開始できません。")};
    ParseState state;
    state.handler = handler;
    std::optional<CsvFailure> failure;
    qsizetype start = 0;
    while (start < data.size() && !state.stopped) {
        const qsizetype newline = data.indexOf('\n', start);
        const qsizetype end = newline < 0 ? data.size() : newline + 1;
        const QByteArrayView chunk(data.constData() + start, end - start);
        ++state.line;
        start = end;
        if (chunk.contains('\0')) {
            failure = CsvFailure{state.line, QStringLiteral("NUL文字が含まれています。")};
            break;
        }
        if (!isUtf8(chunk)) {
            failure = CsvFailure{state.line, QStringLiteral("文字コードがUTF-8ではありません。")};
            break;
        }
        if (!state.recordOpen && !isBlankLine(chunk)) {
            state.recordOpen = true;
            state.recordLine = state.line;
        }
        const size_t used =
            csv_parse(&parser, chunk.data(), size_t(chunk.size()), onField, onRecordEnd, &state);
        if (used != size_t(chunk.size())) {
            failure =
                CsvFailure{state.line, QStringLiteral("引用符（\"）の使い方が正しくありません。")};
            break;
        }
    }
    if (!failure && !state.stopped && csv_fini(&parser, onField, onRecordEnd, &state) != 0)
        failure = CsvFailure{state.recordLine, QStringLiteral("引用符（\"）が閉じていません。")};
    csv_free(&parser);
    return failure;
}

// --- values ---------------------------------------------------------------------------------

QString failureText(const QString &file, int line, const QString &reason)
{
    return QStringLiteral("%1 の %2 行目: %3").arg(file).arg(line).arg(reason);
}

} // namespace

// A number column's text as the value to store; std::nullopt with *reason when it is none.
std::optional<QVariant> MasterFiles::integerValue(const QString &text, QString *reason)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QVariant(qlonglong(0));
    static const QRegularExpression re(QStringLiteral("^[+-]?[0-9]+$"));
    bool ok = false;
    const qlonglong value = re.match(t).hasMatch() ? t.toLongLong(&ok) : 0;
    if (!ok) {
        *reason = QStringLiteral("整数ではありません");
        return std::nullopt;
    }
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max()) {
        *reason = QStringLiteral("数値が大きすぎます");
        return std::nullopt;
    }
    return QVariant(value);
}

std::optional<QVariant> MasterFiles::decimalValue(const QString &text, const Column &column,
                                                  QString *reason)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QVariant(QStringLiteral("0"));
    static const QRegularExpression re(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    const auto m = re.match(t);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) {
        *reason = QStringLiteral("数値ではありません");
        return std::nullopt;
    }
    QString whole = m.captured(2);
    QString fraction = m.captured(3);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    if (column.scale >= 0 && fraction.size() > column.scale) {
        *reason = QStringLiteral("小数点以下は%1桁までです").arg(column.scale);
        return std::nullopt;
    }
    if (column.precision > 0 && whole.size() > column.precision - qMax(column.scale, 0)) {
        *reason = QStringLiteral("数値が大きすぎます");
        return std::nullopt;
    }
    const QString sign = m.captured(1) == QLatin1String("-") ? QStringLiteral("-") : QString();
    return QVariant(sign + whole + (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction));
}

namespace {

QString formatDecimal(const QVariant &value, int scale)
{
    const double d = value.toDouble();
    if (scale >= 0)
        return QString::number(d, 'f', scale);
    return QString::number(d, 'g', 15);
}

QString dumpValue(const QVariant &value, const MasterFiles::Column &column)
{
    switch (column.kind) {
    case MasterFiles::Kind::Integer:
        return QString::number(value.toLongLong());
    case MasterFiles::Kind::Decimal:
        return formatDecimal(value, column.scale);
    case MasterFiles::Kind::Text:
        break;
    }
    return value.toString();
}

MasterFiles::Column columnOfType(const QString &name, const QString &type, bool key)
{
    MasterFiles::Column c;
    c.name = name.toUpper();
    c.key = key;
    const QString t = type.trimmed().toUpper();
    if (t.contains(QLatin1String("INT"))) {
        c.kind = MasterFiles::Kind::Integer;
    } else if (t.startsWith(QLatin1String("NUMERIC")) || t.startsWith(QLatin1String("DECIMAL")) ||
               t.startsWith(QLatin1String("REAL")) || t.startsWith(QLatin1String("DOUBLE"))) {
        c.kind = MasterFiles::Kind::Decimal;
        static const QRegularExpression size(
            QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
        const auto m = size.match(t);
        if (m.hasMatch()) {
            c.precision = m.captured(1).toInt();
            c.scale = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
        }
    }
    return c;
}

} // namespace

// --- MasterFiles --------------------------------------------------------------------------------

MasterFiles::MasterFiles(Db &db, Progress *progress) : m_db(db), m_progress(progress) {}

const QStringList &MasterFiles::tables()
{
    static const QStringList names = {
        QStringLiteral("MST_CAR"),     QStringLiteral("MST_QUL"),
        QStringLiteral("MST_FACTORY"), QStringLiteral("MST_TARVOLIN_SIZE"),
        QStringLiteral("MST_COL"),     QStringLiteral("MST_HINBANKUBUN"),
        QStringLiteral("MST_BRAND"),   QStringLiteral("MST_SIZ"),
        QStringLiteral("MST_ROW"),     QStringLiteral("MST_QULPLATE"),
        QStringLiteral("MST_PRINTER"), QStringLiteral("MST_EHJ"),
    };
    return names;
}

QString MasterFiles::fileName(const QString &table)
{
    return table + QStringLiteral(".csv");
}

QList<MasterFiles::Column> MasterFiles::columns(const QString &table)
{
    QList<Column> result;
    for (const CatalogColumn &catalog : m_db.dialect().columns(m_db, table)) {
        Column c = columnOfType(catalog.name, catalog.type, catalog.key);
        if (c.kind == Kind::Decimal && catalog.precision >= 0) {
            c.precision = catalog.precision;
            c.scale = catalog.scale;
        }
        result << c;
    }
    return result;
}

QByteArray MasterFiles::csvLine(const QStringList &fields)
{
    return CsvLine::minimal(fields).toUtf8();
}

MasterFiles::Result MasterFiles::parseFile(const QString &folder, const QString &table,
                                           Parsed *parsed)
{
    const QString file = fileName(table);
    Result result;
    auto fail = [&](int line, const QString &reason) {
        result.ok = false;
        result.file = file;
        result.line = line;
        result.message =
            line > 0 ? failureText(file, line, reason) : file + QStringLiteral(": ") + reason;
        return result;
    };
    QFile in(QDir(folder).filePath(file));
    if (!in.open(QIODevice::ReadOnly))
        return fail(0, QStringLiteral("読み込めません（%1）。").arg(in.errorString()));
    const QList<Column> tableColumns = columns(table);
    if (tableColumns.isEmpty())
        return fail(0, QStringLiteral("テーブル %1 がデータベースにありません。").arg(table));

    parsed->table = table;
    QList<Column> header;
    QList<int> keyPositions;
    QHash<QStringList, int> firstLineOfKey;
    bool haveHeader = false;
    int badLine = 0;
    QString badReason;

    auto readHeader = [&](int line, const QList<QByteArray> &fields) {
        for (const QByteArray &field : fields) {
            const QString name = QString::fromUtf8(field).trimmed().toUpper();
            auto it = std::find_if(tableColumns.cbegin(), tableColumns.cend(),
                                   [&](const Column &c) { return c.name == name; });
            if (it == tableColumns.cend()) {
                badReason = QStringLiteral("%1 にない列です: %2").arg(table, name);
                break;
            }
            if (parsed->columns.contains(name)) {
                badReason = QStringLiteral("列 %1 が二度あります").arg(name);
                break;
            }
            if (it->key)
                keyPositions << int(header.size());
            header << *it;
            parsed->columns << name;
        }
        for (const Column &c : tableColumns)
            if (badReason.isEmpty() && c.key && !parsed->columns.contains(c.name))
                badReason = QStringLiteral("キーの列 %1 がありません").arg(c.name);
        if (!badReason.isEmpty()) {
            badLine = line;
            return false;
        }
        haveHeader = true;
        return true;
    };

    auto readRow = [&](int line, const QList<QByteArray> &fields) {
        if (fields.size() != header.size()) {
            badLine = line;
            badReason = QStringLiteral("列の数が見出しと合いません（見出し %1 列、この行 %2 列）")
                            .arg(header.size())
                            .arg(fields.size());
            return false;
        }
        QVariantList row;
        for (int i = 0; i < fields.size(); ++i) {
            const Column &c = header.at(i);
            const QString text = QString::fromUtf8(fields.at(i));
            QString reason;
            std::optional<QVariant> value = QVariant(text);
            if (c.kind == Kind::Integer)
                value = integerValue(text, &reason);
            else if (c.kind == Kind::Decimal)
                value = decimalValue(text, c, &reason);
            if (!value) {
                badLine = line;
                badReason = QStringLiteral("%1（列 %2: \"%3\"）").arg(reason, c.name, text);
                return false;
            }
            row << *value;
        }
        if (table == QLatin1String("MST_FACTORY")) {
            const int code = int(parsed->columns.indexOf(QStringLiteral("FC_RG")));
            const QString refusal =
                FactoryMaster::codeRefusal(MasterTable::trimBlanks(row.at(code).toString()));
            if (!refusal.isEmpty()) {
                badLine = line;
                badReason = refusal;
                badReason.chop(1); // the reason is closed with "。" like every other
                return false;
            }
        }
        QStringList key;
        for (int position : keyPositions)
            key << row.at(position).toString();
        const auto seen = firstLineOfKey.constFind(key);
        if (seen != firstLineOfKey.cend()) {
            badLine = line;
            badReason = QStringLiteral("キーが重複しています（%1 行目と同じ %2）")
                            .arg(seen.value())
                            .arg(key.join(QLatin1Char(',')));
            return false;
        }
        firstLineOfKey.insert(key, line);
        parsed->rows << row;
        return true;
    };

    const auto failure = readCsv(in.readAll(), [&](int line, const QList<QByteArray> &fields) {
        return haveHeader ? readRow(line, fields) : readHeader(line, fields);
    });
    if (failure)
        return fail(failure->line, failure->reason);
    if (badLine > 0)
        return fail(badLine, badReason + QStringLiteral("。"));
    if (!haveHeader)
        return fail(1, QStringLiteral("見出し行がありません。"));
    return result;
}

void MasterFiles::replaceRows(const Parsed &parsed)
{
    m_db.exec(QStringLiteral("DELETE FROM ") + parsed.table);
    BulkInserter bulk(m_db, parsed.table, parsed.columns);
    for (const QVariantList &row : parsed.rows)
        bulk.add(row);
    bulk.finish();
}

MasterFiles::Result MasterFiles::load(const QString &folder)
{
    Result result;
    if (!QFileInfo(folder).isDir()) {
        result.ok = false;
        result.message = QStringLiteral("フォルダがありません: ") + folder;
        return result;
    }
    QStringList present;
    for (const QString &table : tables())
        if (QFileInfo::exists(QDir(folder).filePath(fileName(table))))
            present << table;
    if (present.isEmpty()) {
        result.ok = false;
        result.message = QStringLiteral("マスタファイル（MST_*.csv）がありません: ") + folder;
        return result;
    }

    NullProgress silent;
    Progress &progress = m_progress ? *m_progress : silent;
    ProgressScope scope(progress);
    progress.start(QStringLiteral("マスタ読込..."), int(present.size()) * 2);
    int done = 0;

    // Every file is read and checked before the first table changes.
    QList<Parsed> parsed;
    for (const QString &table : present) {
        Parsed p;
        const Result r = parseFile(folder, table, &p);
        if (!r.ok)
            return r;
        parsed << p;
        progress.step(++done);
    }
    QString current;
    try {
        // A running conversion reads the masters it started with until it has stamped its
        // lines.
        RunLock conversion(m_db, RunLock::Kind::Conversion);
        conversion.acquire(m_progress);
        Transaction tx(m_db);
        for (const Parsed &p : parsed) {
            current = p.table;
            replaceRows(p);
            result.tables << qMakePair(p.table, qint64(p.rows.size()));
            progress.step(++done);
        }
        tx.commit();
    } catch (const DbError &e) {
        result.ok = false;
        result.tables.clear();
        result.file = fileName(current);
        result.message = fileName(current) + QStringLiteral(": ") + e.describe();
    }
    return result;
}

MasterFiles::Result MasterFiles::dump(const QString &folder)
{
    Result result;
    auto fail = [&](const QString &file, const QString &reason) {
        result.ok = false;
        result.file = file;
        result.message = file + QStringLiteral(": ") + reason;
        return result;
    };
    if (!QDir().mkpath(folder)) {
        result.ok = false;
        result.message = QStringLiteral("フォルダを作成できません: ") + folder;
        return result;
    }
    NullProgress silent;
    Progress &progress = m_progress ? *m_progress : silent;
    ProgressScope scope(progress);
    progress.start(QStringLiteral("マスタ書出し..."), int(tables().size()));
    int done = 0;
    for (const QString &table : tables()) {
        const QString file = fileName(table);
        try {
            const QList<Column> cols = columns(table);
            QStringList names;
            QStringList keys;
            for (const Column &c : cols) {
                names << c.name;
                if (c.key)
                    keys << c.name;
            }
            QString sql = QStringLiteral("SELECT ") + names.join(QLatin1Char(',')) +
                          QStringLiteral(" FROM ") + table;
            if (!keys.isEmpty())
                sql += QStringLiteral(" ORDER BY ") + keys.join(QLatin1Char(','));
            const auto records = m_db.rows(sql);

            QSaveFile out(QDir(folder).filePath(file));
            if (!out.open(QIODevice::WriteOnly))
                return fail(file, out.errorString());
            out.write(csvLine(names) + '\n');
            for (const QSqlRecord &r : records) {
                QStringList fields;
                for (int i = 0; i < cols.size(); ++i)
                    fields << dumpValue(r.value(i), cols.at(i));
                out.write(csvLine(fields) + '\n');
            }
            if (!out.commit())
                return fail(file, out.errorString());
            result.tables << qMakePair(table, qint64(records.size()));
        } catch (const DbError &e) {
            return fail(file, e.describe());
        }
        progress.step(++done);
    }
    return result;
}
