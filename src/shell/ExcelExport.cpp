#include "ExcelExport.h"

#include "Clock.h"
#include "Db.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Installation.h"
#include "Progress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlField>
#include <QSqlRecord>

#include <xlsxwriter.h>

#include <memory>
#include <vector>

namespace {

const QString kTooManyRows =
    QStringLiteral("行数が多すぎるためEXCELに出力できません。（上限 1,048,575 行）");
const char *const kSheetName = "sheet1";
const char *const kHeaderFont = "ＭＳ Ｐゴシック";
constexpr int kMaxCellText = 32767; // what one cell of a sheet holds
constexpr int kMaxColumnWidth = 255;
constexpr int kProgressEvery = 1000;

// The statement without a trailing semicolon, so that it can be wrapped in a count.
QString bareStatement(const QString &sql)
{
    QString s = sql.trimmed();
    while (s.endsWith(QLatin1Char(';')))
        s = s.left(s.size() - 1).trimmed();
    return s;
}

qint64 countRows(Db &db, const QString &sql, const QVariantMap &params)
{
    return db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM (") + bareStatement(sql) +
                    QStringLiteral(") AS export_rows"),
                params)
        .toLongLong();
}

bool isNumberType(int typeId)
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A free name in the export folder, stamped with the time of the export.
QString newExportPath()
{
    const QDir dir(Installation::exportDir());
    const QString stamp = Clock::now().toString(QStringLiteral("yyyyMMdd_hhmmss"));
    QString path = dir.filePath(QStringLiteral("EXCEL_%1.xlsx").arg(stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("EXCEL_%1_%2.xlsx").arg(stamp).arg(n));
    return path;
}

QString xlsxErrorText(lxw_error error)
{
    return QStringLiteral("EXCELファイルを作成できません: ") +
           QString::fromUtf8(lxw_strerror(error));
}

// One workbook being written; closes (and so finishes or abandons) the file on every path.
class SheetWriter {
public:
    SheetWriter(const QString &path, bool large)
    {
        m_path = path.toUtf8();
        m_tmpDir = QFileInfo(path).absolutePath().toUtf8();
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = m_tmpDir.data();
        options.use_zip64 = large ? LXW_TRUE : LXW_FALSE;
        m_book = workbook_new_opt(m_path.constData(), &options);
        if (!m_book)
            throw ExcelExportError(QStringLiteral("EXCELファイルを作成できません: ") + path);
        m_sheet = workbook_add_worksheet(m_book, kSheetName);
        m_header = workbook_add_format(m_book);
        format_set_font_name(m_header, kHeaderFont);
        format_set_bold(m_header);
        format_set_border(m_header, LXW_BORDER_THIN);
        m_cell = workbook_add_format(m_book);
        format_set_border(m_cell, LXW_BORDER_THIN);
    }

    ~SheetWriter()
    {
        if (m_book)
            workbook_close(m_book);
    }

    void header(int column, const QString &name)
    {
        text(0, column, name, m_header);
        widen(column, name);
    }

    void value(lxw_row_t row, int column, const QVariant &v, int fieldType)
    {
        if (v.isNull()) {
            check(worksheet_write_blank(m_sheet, row, lxw_col_t(column), m_cell));
            return;
        }
        if (isNumberType(v.typeId()) || isNumberType(fieldType)) {
            bool ok = false;
            const double number = v.toDouble(&ok);
            if (ok) {
                check(worksheet_write_number(m_sheet, row, lxw_col_t(column), number, m_cell));
                widen(column, v.toString());
                return;
            }
        }
        const QString s = v.toString();
        text(row, column, s, m_cell);
        widen(column, s);
    }

    // Column widths fitted to the longest text of each column, like the sheet's own autofit.
    void fitColumns(int columns)
    {
        for (int c = 0; c < columns && c < int(m_widths.size()); ++c)
            worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c),
                                 qMin(kMaxColumnWidth, m_widths[size_t(c)] + 2), nullptr);
    }

    void close()
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        if (error != LXW_NO_ERROR)
            throw ExcelExportError(xlsxErrorText(error));
    }

private:
    void text(lxw_row_t row, int column, const QString &s, lxw_format *format)
    {
        if (s.isEmpty()) {
            check(worksheet_write_blank(m_sheet, row, lxw_col_t(column), format));
            return;
        }
        const QByteArray utf8 = s.left(kMaxCellText).toUtf8();
        check(worksheet_write_string(m_sheet, row, lxw_col_t(column), utf8.constData(), format));
    }

    void widen(int column, const QString &s)
    {
        if (int(m_widths.size()) <= column)
            m_widths.resize(size_t(column) + 1, 0);
        m_widths[size_t(column)] =
            qMax(m_widths[size_t(column)], ExcelExport::displayWidth(s.left(kMaxColumnWidth)));
    }

    static void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            throw ExcelExportError(xlsxErrorText(error));
    }

    QByteArray m_path;
    QByteArray m_tmpDir;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_header = nullptr;
    lxw_format *m_cell = nullptr;
    std::vector<int> m_widths;
};

// false when the statement gave no row after all (another workstation deleted them meanwhile).
bool writeRows(Db &db, Progress &progress, const QString &sql, const QVariantMap &params,
               qint64 total, const QString &path)
{
    std::unique_ptr<SheetWriter> writer;
    lxw_row_t row = 0;
    int columns = 0;
    std::vector<int> fieldTypes;
    db.forEach(sql, params, [&](const QSqlQuery &q) {
        if (!writer) {
            const QSqlRecord record = q.record();
            columns = record.count();
            // Past some 40 million cells the sheet's XML may pass 4 GB: the file needs ZIP64.
            writer = std::make_unique<SheetWriter>(path, total * columns > 40000000);
            for (int c = 0; c < columns; ++c) {
                writer->header(c, db.columnTitle(record.fieldName(c)));
                fieldTypes.push_back(record.field(c).metaType().id());
            }
        }
        ++row;
        for (int c = 0; c < columns; ++c)
            writer->value(row, c, q.value(c), fieldTypes[size_t(c)]);
        if (row % kProgressEvery == 0)
            progress.step(int(row));
    });
    if (!writer)
        return false;
    progress.step(int(row));
    writer->fitColumns(columns);
    writer->close();
    return true;
}

} // namespace

namespace ExcelExport {

int displayWidth(const QString &text)
{
    int width = 0;
    for (const uint c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
        width += wide ? 2 : 1;
    }
    return width;
}

QString writeFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &sql,
                  qint64 maxDataRows)
{
    return writeFile(db, dialogs, progress, sql, {}, maxDataRows);
}

QString writeFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &sql,
                  const QVariantMap &params, qint64 maxDataRows)
{
    if (bareStatement(sql).isEmpty()) // a screen that has not shown anything yet
        return {};
    const qint64 total = countRows(db, sql, params);
    if (total == 0)
        return {};
    if (total > maxDataRows) {
        dialogs.message(kTooManyRows, Icon::Error);
        return {};
    }
    const QString path = newExportPath();
    // Written under a working name so that the folder never shows a half-written sheet.
    const QString working = path + QStringLiteral(".part");
    ProgressScope scope(progress);
    progress.start(QStringLiteral("EXCEL出力"), int(total));
    try {
        if (!writeRows(db, progress, sql, params, total, working))
            return {};
    } catch (...) {
        QFile::remove(working);
        throw;
    }
    if (!QFile::rename(working, path)) {
        QFile::remove(working);
        throw ExcelExportError(QStringLiteral("EXCELファイルを作成できません: ") + path);
    }
    return path;
}

} // namespace ExcelExport

void exportToExcel(Db *db, const QString &sql, const QVariantMap &params)
{
    if (!db)
        throw DbError(QStringLiteral("データベースに接続されていません。"), QStringLiteral("3704"));
    const QString path = ExcelExport::writeFile(*db, appDialogs(), appProgress(), sql, params);
    if (!path.isEmpty())
        Desktop::openOrTell(path);
}
