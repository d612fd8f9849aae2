#include "FileImport.h"

#include "ControlNumbers.h"
#include "Db.h"
#include "Dialogs.h"
#include "OrderFileReader.h"
#include "Progress.h"

#include <QFile>

namespace {

using namespace OrderFileLayout;

// Records read and loaded per turn: memory stays small whatever the size of the file.
constexpr int kRecordsPerChunk = 4096;
constexpr int kProgressEvery = 256;

struct Failure {
    QString message;
};

QVariantList workOrderRow(const QString &impDate, const OrderRecord &record)
{
    QVariantList row;
    row.reserve(kFieldCount + 4);
    row << impDate << record.line;
    for (int i = 0; i < kFieldCount; ++i) {
        if (i == kSu)
            row << record.quantity;
        else
            row << record.fields[size_t(i)];
        if (i == kLotNo)
            row << record.seisanNen << record.seisanTuki;
    }
    return row;
}

QByteArray readChunk(QFile &file, int firstLine, qint64 fileSize)
{
    const qint64 offset = qint64(firstLine - 1) * kRecordBytes;
    const qint64 wanted = qMin<qint64>(qint64(kRecordsPerChunk) * kRecordBytes, fileSize - offset);
    if (wanted <= 0)
        return {};
    if (!file.seek(offset))
        throw Failure{file.errorString()};
    QByteArray bytes = file.read(wanted);
    if (bytes.size() != wanted)
        throw Failure{QStringLiteral("ファイルを読み込めません: ") + file.errorString()};
    return bytes;
}

// Reads every record into WRK_ORDER; returns the number of lines.
int loadWorkTable(Db &db, Progress &progress, const ImportRequest &request)
{
    QFile file(request.path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure{QStringLiteral("ファイルを開けません: ") + request.path};
    const qint64 fileSize = file.size();
    const int total = OrderFileReader::recordCount(fileSize);
    progress.start(QStringLiteral("ファイル取込..."), total);

    BulkInserter bulk(db, QStringLiteral("WRK_ORDER"), workOrderColumns());
    OrderRecord record;
    QString reason;
    for (int first = 1; first <= total; first += kRecordsPerChunk) {
        const QByteArray chunk = readChunk(file, first, fileSize);
        const OrderFileReader reader(chunk, request.today, first);
        const int last = qMin(total, first + kRecordsPerChunk - 1);
        for (int n = first; n <= last; ++n) {
            if (!reader.read(n, record, &reason))
                throw Failure{OrderFileReader::refusalMessage(n, reason)};
            bulk.add(workOrderRow(request.impDate, record));
            if (n % kProgressEvery == 0)
                progress.step(n);
        }
    }
    bulk.finish();
    progress.step(total);
    return total;
}

// The customer's quality keys may carry blanks; the dates come as yymmdd and become
// "yyyy/mm/dd" with the century 20 (a blank date becomes "20//").
void normaliseWorkTable(Db &db)
{
    db.exec(QStringLiteral("UPDATE WRK_ORDER SET QUL_KEY = replace(QUL_KEY, ' ', '') "
                           "WHERE QUL_KEY LIKE '% %'"));
    db.exec(QStringLiteral("UPDATE WRK_ORDER SET ORD_DATE = '20' || substr(ORD_DATE, 1, 2) || "
                           "'/' || substr(ORD_DATE, 3, 2) || '/' || substr(ORD_DATE, 5, 2)"));
    db.exec(QStringLiteral("UPDATE WRK_ORDER SET SET_DATE = '20' || substr(SET_DATE, 1, 2) || "
                           "'/' || substr(SET_DATE, 3, 2) || '/' || substr(SET_DATE, 5, 2)"));
}

} // namespace

QStringList workOrderColumns()
{
    QStringList columns{QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN")};
    for (int i = 0; i < kFieldCount; ++i) {
        columns << QLatin1String(kFields[size_t(i)].column);
        if (i == kLotNo)
            columns << QStringLiteral("SEISAN_NEN") << QStringLiteral("SEISAN_TUKI");
    }
    return columns;
}

int PF_FileImport(Db &db, Dialogs &dialogs, Progress &progress, const ImportRequest &request)
{
    try {
        db.exec(QStringLiteral("DELETE FROM WRK_ORDER"));
        const int lines = loadWorkTable(db, progress, request);
        normaliseWorkTable(db);
        numberWorkOrders(db, progress, request.nen, request.tuki, lines);
    } catch (const Failure &failure) {
        dialogs.message(failure.message, Icon::Error);
        return 1;
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return 1;
    }
    return 0;
}
