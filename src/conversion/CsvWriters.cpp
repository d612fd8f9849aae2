#include "CsvWriters.h"

#include "CsvFile.h"
#include "Db.h"
#include "Dialogs.h"
#include "Installation.h"
#include "Progress.h"
#include "WorkTables.h"

#include <QSqlQuery>
#include <QStringList>

#include <memory>
#include <optional>

namespace {

// A failure inside a writer: its description is shown by the writer itself.
struct WriteFailure {
    QString text;
};

// Where the sort keys of a file leave ties, the line key decides, so a run always writes
// the same files.
const QString kPrintDataOrder =
    QStringLiteral(" ORDER BY GENSAN,KNR_NO,HINBAN,COL,SIZE_SORT_LV,GYOU,IMP_DATE,IMP_LN");

constexpr int kPumpEvery = 2000;

QString printDataSelect(const QString &table, const QString &fileColumn)
{
    return QStringLiteral("SELECT ") + printDataColumns().join(QLatin1Char(',')) +
           QStringLiteral(" FROM ") + table + QStringLiteral(" WHERE ") + fileColumn +
           QStringLiteral(" = :v") + kPrintDataOrder;
}

// Writes the rows of one query to one file. The file is created with the first row, so an
// empty result writes nothing. When sequenceColumn >= 0 that column carries the line's
// sequence number within the file instead of its stored value.
class QueryToFile {
public:
    QueryToFile(Db &db, Progress &progress) : m_db(db), m_progress(progress) {}

    // pathForFirstRow decides the file name when the first row arrives.
    void write(const QString &sql, const QVariantMap &params, int outputColumns,
               int controlNumberColumn, int sequenceColumn,
               const std::function<QString()> &pathForFirstRow)
    {
        std::unique_ptr<CsvFile> file;
        QStringList values;
        values.reserve(outputColumns);
        m_db.forEach(sql, params, [&](const QSqlQuery &q) {
            if (!file) {
                file = std::make_unique<CsvFile>(pathForFirstRow());
                if (!file->open())
                    throw WriteFailure{file->error()};
            }
            values.clear();
            for (int i = 0; i < outputColumns; ++i)
                values << q.value(i).toString();
            if (sequenceColumn >= 0)
                values[sequenceColumn] = QString::number(file->lines() + 1);
            if (!file->writeLine(values, q.value(controlNumberColumn).toString()))
                throw WriteFailure{file->error()};
            if (++m_rows % kPumpEvery == 0)
                m_progress.pump();
        });
        if (file && !file->commit())
            throw WriteFailure{file->error()};
        m_progress.pump();
    }

private:
    Db &m_db;
    Progress &m_progress;
    qint64 m_rows = 0;
};

QString freePathOrFail(const QString &folder, const QString &base)
{
    const std::optional<QString> path = CsvFile::freePath(folder, base);
    if (!path)
        throw WriteFailure{CsvFile::namesUsedUpMessage(base)};
    return *path;
}

int guarded(Dialogs &dialogs, const std::function<void()> &work)
{
    try {
        work();
        return 0;
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
    } catch (const WriteFailure &f) {
        dialogs.message(f.text, Icon::Error);
    }
    return 1;
}

QStringList fileKeys(Db &db, const QString &column, const QString &table)
{
    QStringList keys;
    db.forEach(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ") + table +
                   QStringLiteral(" GROUP BY ") + column + QStringLiteral(" ORDER BY ") + column,
               {}, [&](const QSqlQuery &q) { keys << q.value(0).toString(); });
    return keys;
}

constexpr int kControlNumberPosition = 52; // KNR_NO among the 79 print-data columns
constexpr int kSequencePosition = 78;      // B20

} // namespace

int MF_WriteCsvC(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    return guarded(dialogs, [&] {
        QueryToFile writer(db, progress);
        const QString sql = printDataSelect(QStringLiteral("WRK_CSV_C"), QStringLiteral("KNR_NO"));
        for (const QString &knrNo :
             fileKeys(db, QStringLiteral("KNR_NO"), QStringLiteral("WRK_CSV_C")))
            writer.write(sql, {{QStringLiteral("v"), knrNo}}, int(printDataColumns().size()),
                         kControlNumberPosition, kSequencePosition, [&] {
                             return Installation::joinPath(folder, knrNo + QStringLiteral(".csv"));
                         });
    });
}

int MF_WriteCsvH(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    return guarded(dialogs, [&] {
        QueryToFile writer(db, progress);
        const QString sql = printDataSelect(QStringLiteral("WRK_CSV_H"), QStringLiteral("FILE_NM"));
        for (const QString &fileName :
             fileKeys(db, QStringLiteral("FILE_NM"), QStringLiteral("WRK_CSV_H")))
            writer.write(sql, {{QStringLiteral("v"), fileName}}, int(printDataColumns().size()),
                         kControlNumberPosition, kSequencePosition,
                         [&] { return freePathOrFail(folder, fileName); });
    });
}

int MF_WriteLotSeal(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    // The size is not part of the key: every size of a lot, product and colour adds up on
    // one seal. Ties are ordered by the first line of each group.
    static const QString sql = QStringLiteral(
        "SELECT '001',SET_DATE,HINBAN,SUM(SU),LOT_NO,QUL_KEY,COL,CAR_CD,'1',KNR_NO,FC_RG,"
        "SUM(SPARE_SU),'','' FROM WRK_RPT "
        "GROUP BY SET_DATE,HINBAN,LOT_NO,QUL_KEY,COL,CAR_CD,KNR_NO,FC_RG "
        "ORDER BY SET_DATE,FC_RG,CAR_CD,KNR_NO,HINBAN,COL,MIN(IMP_DATE),MIN(IMP_LN)");
    return guarded(dialogs, [&] {
        QueryToFile writer(db, progress);
        writer.write(sql, {}, 14, 9, -1,
                     [&] { return freePathOrFail(folder, QStringLiteral("LSTK")); });
    });
}

int MF_WriteLotSheet(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    // KNR_NO is read once more after the 15 output columns to name a line in a message.
    static const QString sql = QStringLiteral(
        "SELECT '002',SET_DATE,HINBAN,SIZE0,SU,ORD_NO || ' ' || KNR_NO,LOT_NO,'1',SPARE_SU,"
        "FC_RG,'',CAR_CD,QUL_KEY,BR_CD,COL,KNR_NO FROM WRK_RPT "
        "ORDER BY SET_DATE,BR_CD,FC_RG,CAR_CD,GENSAN,KNR_NO,HINBAN,COL,SIZE_SORT_LV,IMP_DATE,"
        "IMP_LN");
    return guarded(dialogs, [&] {
        QueryToFile writer(db, progress);
        writer.write(sql, {}, 15, 15, -1,
                     [&] { return freePathOrFail(folder, QStringLiteral("LSHT")); });
    });
}
