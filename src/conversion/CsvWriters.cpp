#include "CsvWriters.h"

#include "CsvFile.h"
#include "Db.h"
#include "Dialogs.h"
#include "ExclusiveFiles.h"
#include "Progress.h"
#include "Utilities.h"
#include "WorkTables.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>

#include <memory>
#include <optional>

namespace {

// A failure inside a writer: its description is shown by the writer itself.
struct WriteFailure {
    QString text;
};

// Control numbers in number order (AB-999 before AB-1000) wherever they sort lines.
const QString kControlNumberOrder = controlNumberOrder(QStringLiteral("KNR_NO"));

// Where the sort keys of a file leave ties, the line key decides, so a run always writes
// the same files.
const QString kPrintDataOrder = QStringLiteral("GENSAN,") + kControlNumberOrder +
                                QStringLiteral(",HINBAN,COL,SIZE_SORT_LV,GYOU,IMP_DATE,IMP_LN");

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

    // baseForKey gives a file's base name when its first row arrives; the file takes the
    // first free name made from it.
    void write(const QString &sql, const Layout &layout, const QString &folder,
               const std::function<QString(const QString &key)> &baseForKey)
    {
        std::unique_ptr<CsvFile> file;
        QByteArray fileKey;
        // The folder is read once, when the first file is about to take its name.
        std::optional<FolderNames> names;
        QList<QByteArrayView> values;
        values.reserve(layout.outputColumns);
        QByteArray sequence;
        // The rows as text, straight from the engine: the files take the values as the
        // database writes them.
        BulkReader rows(m_db, sql);
        while (rows.next()) {
            const QByteArrayView key =
                layout.fileKeyColumn >= 0 ? rows.value(layout.fileKeyColumn) : QByteArrayView();
            if (file && key != fileKey) {
                commit(*file);
                file.reset();
            }
            if (!file) {
                fileKey = key.toByteArray();
                if (!names)
                    names = CsvFile::namesIn(folder);
                file = std::make_unique<CsvFile>(folder, baseForKey(QString::fromUtf8(fileKey)),
                                                 &*names);
                if (!file->open())
                    throw WriteFailure{file->error()};
            }
            values.clear();
            for (int i = 0; i < layout.outputColumns; ++i)
                values << rows.value(i);
            if (layout.sequenceColumn >= 0) {
                sequence = QByteArray::number(file->lines() + 1);
                values[layout.sequenceColumn] = sequence;
            }
            if (!file->writeLine(values, rows.value(layout.controlNumberColumn)))
                throw WriteFailure{file->error()};
            if (++m_rows % kPumpEvery == 0)
                m_progress.pump();
        }
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

// A WriteFailure ends the work with `onWriteFailure`: the check of the names refuses what the
// lines hold, a writer fails. A database error always fails.
Outcome guarded(Dialogs &dialogs, Outcome onWriteFailure, const std::function<void()> &work)
{
    try {
        work();
        return Outcome::Done;
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
    } catch (const WriteFailure &f) {
        dialogs.message(f.text, Icon::Error);
        return onWriteFailure;
    }
    return Outcome::Failed;
}

Outcome guarded(Dialogs &dialogs, const std::function<void()> &work)
{
    return guarded(dialogs, Outcome::Failed, work);
}

// A file a run is about to write: the base of its name and the control number of its (first)
// line. The lot files' fixed names come from no line.
struct PlannedName {
    QString base;
    QString controlNumber;
    bool fromData = true;
};

// Two spellings of one folder are one folder.
QString folderKey(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The first name of a folder that holds a refused character or meets another name of the
// folder; empty when none. Names are compared without regard to case, as the shares the
// printer room reads may be.
QString refusalAmong(const QList<PlannedName> &names)
{
    for (const PlannedName &name : names) {
        if (!name.fromData)
            continue;
        const QString character = ExclusiveFiles::refusedCharacter(name.base);
        if (!character.isEmpty())
            return CsvFile::unusableNameMessage(name.controlNumber, name.base, character);
    }
    auto clash = [](const PlannedName *name, const PlannedName *other) {
        if (!name->fromData)
            std::swap(name, other);
        return CsvFile::clashingNameMessage(name->controlNumber, name->base, other->base);
    };
    QHash<QString, const PlannedName *> byName;
    for (const PlannedName &name : names) {
        const QString folded = name.base.toCaseFolded();
        const auto seen = byName.constFind(folded);
        if (seen != byName.cend())
            return clash(&name, seen.value());
        byName.insert(folded, &name);
    }
    // "AB_1" is the name "AB" takes when AB.csv is there: the two must not share a run.
    static const QRegularExpression freeName(QStringLiteral("^(.*)_([1-9][0-9]?)$"));
    for (const PlannedName &name : names) {
        const QRegularExpressionMatch m = freeName.match(name.base);
        if (!m.hasMatch() || m.captured(2).toInt() > CsvFile::kLastCandidate)
            continue;
        const auto base = byName.constFind(m.captured(1).toCaseFolded());
        if (base != byName.cend())
            return clash(&name, base.value());
    }
    return {};
}

} // namespace

Outcome checkFileNames(Db &db, Dialogs &dialogs, bool thermal, const QString &carFolder,
                       const QString &hanFolder, const QString &stkFolder, const QString &shtFolder)
{
    return guarded(dialogs, Outcome::Refused, [&] {
        QHash<QString, QList<PlannedName>> byFolder;
        QStringList folders; // in the order first met, so that the first fault is reported
        auto plan = [&](const QString &folder, const PlannedName &name) {
            const QString key = folderKey(folder);
            if (!byFolder.contains(key))
                folders << key;
            byFolder[key] << name;
        };
        if (thermal) {
            db.forEach(
                QStringLiteral("SELECT KNR_NO FROM WRK_CSV_C GROUP BY KNR_NO ORDER BY KNR_NO"), {},
                [&](const QSqlQuery &q) {
                    const QString knrNo = q.value(0).toString();
                    plan(carFolder, {knrNo, knrNo});
                });
        }
        db.forEach(QStringLiteral("SELECT FILE_NM, MIN(KNR_NO) FROM WRK_CSV_H GROUP BY FILE_NM "
                                  "ORDER BY FILE_NM"),
                   {}, [&](const QSqlQuery &q) {
                       plan(hanFolder, {q.value(0).toString(), q.value(1).toString()});
                   });
        if (db.exists(QStringLiteral("SELECT 1 FROM WRK_RPT"))) {
            plan(stkFolder, {QStringLiteral("LSTK"), QString(), false});
            plan(shtFolder, {QStringLiteral("LSHT"), QString(), false});
        }
        for (const QString &folder : std::as_const(folders)) {
            const QString refusal = refusalAmong(byFolder.value(folder));
            if (!refusal.isEmpty())
                throw WriteFailure{refusal};
        }
    });
}

Outcome writeThermalFiles(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    const int keyColumn = int(printDataColumns().size()); // KNR_NO once more
    return guarded(dialogs, [&] {
        QueryToFiles(db, progress)
            .write(printDataSelect(QStringLiteral("WRK_CSV_C"), QStringLiteral("KNR_NO")),
                   {keyColumn, kControlNumberPosition, kSequencePosition, keyColumn}, folder,
                   [](const QString &knrNo) { return knrNo; });
    });
}

Outcome writeArtworkFiles(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    const int keyColumn = int(printDataColumns().size()); // FILE_NM after the 79 columns
    return guarded(dialogs, [&] {
        QueryToFiles(db, progress)
            .write(printDataSelect(QStringLiteral("WRK_CSV_H"), QStringLiteral("FILE_NM")),
                   {keyColumn, kControlNumberPosition, kSequencePosition, keyColumn}, folder,
                   [](const QString &fileName) { return fileName; });
    });
}

Outcome writeLotSealFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    // The size is not part of the key: every size of a lot, product and colour adds up on
    // one seal. Ties are ordered by the first line of each group.
    static const QString sql =
        QStringLiteral(
            "SELECT '001',SET_DATE,HINBAN,SUM(SU),LOT_NO,QUL_KEY,COL,CAR_CD,'1',KNR_NO,FC_RG,"
            "SUM(SPARE_SU),'','' FROM WRK_RPT "
            "GROUP BY SET_DATE,HINBAN,LOT_NO,QUL_KEY,COL,CAR_CD,KNR_NO,FC_RG "
            "ORDER BY SET_DATE,FC_RG,CAR_CD,") +
        kControlNumberOrder + QStringLiteral(",HINBAN,COL,MIN(IMP_DATE),MIN(IMP_LN)");
    return guarded(dialogs, [&] {
        QueryToFiles(db, progress).write(sql, {14, 9, -1, -1}, folder, [](const QString &) {
            return QStringLiteral("LSTK");
        });
    });
}

Outcome writeLotSheetFile(Db &db, Dialogs &dialogs, Progress &progress, const QString &folder)
{
    // KNR_NO is read once more after the 15 output columns to name a line in a message.
    static const QString sql =
        QStringLiteral(
            "SELECT '002',SET_DATE,HINBAN,SIZE0,SU,ORD_NO || ' ' || KNR_NO,LOT_NO,'1',SPARE_SU,"
            "FC_RG,'',CAR_CD,QUL_KEY,BR_CD,COL,KNR_NO FROM WRK_RPT "
            "ORDER BY SET_DATE,BR_CD,FC_RG,CAR_CD,GENSAN,") +
        kControlNumberOrder + QStringLiteral(",HINBAN,COL,SIZE_SORT_LV,IMP_DATE,IMP_LN");
    return guarded(dialogs, [&] {
        QueryToFiles(db, progress).write(sql, {15, 15, -1, -1}, folder, [](const QString &) {
            return QStringLiteral("LSHT");
        });
    });
}
