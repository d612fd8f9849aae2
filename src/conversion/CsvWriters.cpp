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
    QStringLiteral("GENSAN,KNR_NO,HINBAN,COL,SIZE_SORT_LV,GYOU,IMP_DATE,IMP_LN");

constexpr int kPumpEvery = 2000;
constexpr int kControlNumberPosition = 52; // KNR_NO among the 79 print-data columns
constexpr int kSequencePosition = 78;      // B20

// Every file of a table in one pass: the rows come ordered by the file's key first, then by
// the file's own sort keys, so each file's lines arrive together and in their final order.
// One statement instead of one per file keeps a run with thousands of control numbers fast
// on a server, and writes exactly the lines the per-file statements would.
QString printDataSelect(const QString &table, const QString &fileColumn)
{
    return QStringLiteral("SELECT ") + printDataColumns().join(QLatin1Char(',')) +
           QLatin1Char(',') + fileColumn + QStringLiteral(" FROM ") + table +
           QStringLiteral(" ORDER BY ") + fileColumn + QLatin1Char(',') + kPrintDataOrder;
}

struct Layout {
    int outputColumns;
    int controlNumberColumn; // names the line when a character cannot be written
    int sequenceColumn;      // carries the line's number within its file; -1: none
    int fileKeyColumn;       // a change starts the next file; -1: one file
};

// Writes the rows of one query to files. A file is created with its first row, so an empty
// result writes nothing.
class QueryToFiles {
public:
    QueryToFiles(Db &db, Progress &progress) : m_db(db), m_progress(progress) {}

    // pathForKey decides a file's name when its first row arrives.
    void write(const QString &sql, const Layout &layout,
               const std::function<QString(const QString &key)> &pathForKey)
    {
        std::unique_ptr<CsvFile> file;
        QString fileKey;
        QStringList values;
        values.reserve(layout.outputColumns);
        m_db.forEach(sql, {}, [&](const QSqlQuery &q) {
            const QString key =
                layout.fileKeyColumn >= 0 ? q.value(layout.fileKeyColumn).toString() : QString();
            if (file && key != fileKey) {
                commit(*file);
                file.reset();
            }
            if (!file) {
                fileKey = key;
                file = std::make_unique<CsvFile>(pathForKey(key));
                if (!file->open())
                    throw WriteFailure{file->error()};
            }
            values.clear();
            for (int i = 0; i < layout.outputColumns; ++i)
                values << q.value(i).toString();
            if (layout.sequenceColumn >= 0)
                values[layout.sequenceColumn] = QString::number(file->lines() + 1);
            if (!file->writeLine(values, q.value(layout.controlNumberColumn).toString()))
                throw WriteFailure{file->error()};
            if (++m_rows % kPumpEvery == 0)
                m_progress.pump();
        });
        if (file)
            commit(*file);
    }

private:
    void commit(CsvFile &file)
    {
        if (!file.commit())
            throw WriteFailure{file.error()};
        m_progress.pump();
    }

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

} // namespace

int MF_WriteCsvC(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    const int keyColumn = int(printDataColumns().size()); // KNR_NO once more
    return guarded(dialogs, [&] {
        QueryToFiles(db, progress)
            .write(printDataSelect(QStringLiteral("WRK_CSV_C"), QStringLiteral("KNR_NO")),
                   {keyColumn, kControlNumberPosition, kSequencePosition, keyColumn},
                   [&](const QString &knrNo) {
                       return Installation::joinPath(folder, knrNo + QStringLiteral(".csv"));
                   });
    });
}

int MF_WriteCsvH(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    const int keyColumn = int(printDataColumns().size()); // FILE_NM after the 79 columns
    return guarded(dialogs, [&] {
        QueryToFiles(db, progress)
            .write(printDataSelect(QStringLiteral("WRK_CSV_H"), QStringLiteral("FILE_NM")),
                   {keyColumn, kControlNumberPosition, kSequencePosition, keyColumn},
                   [&](const QString &fileName) { return freePathOrFail(folder, fileName); });
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
        QueryToFiles(db, progress).write(sql, {14, 9, -1, -1}, [&](const QString &) {
            return freePathOrFail(folder, QStringLiteral("LSTK"));
        });
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
        QueryToFiles(db, progress).write(sql, {15, 15, -1, -1}, [&](const QString &) {
            return freePathOrFail(folder, QStringLiteral("LSHT"));
        });
    });
}
