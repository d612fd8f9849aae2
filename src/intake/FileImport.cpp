#include "FileImport.h"

#include "ControlNumberGroups.h"
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

// "yymmdd" as "yyyy/mm/dd" with the century 20; a blank date becomes "20//", a short one
// keeps what it has ("0401" becomes "2004/01/").
QString slashDate(const QString &yymmdd)
{
    return QStringLiteral("20") + yymmdd.mid(0, 2) + QLatin1Char('/') + yymmdd.mid(2, 2) +
           QLatin1Char('/') + yymmdd.mid(4, 2);
}

const int kOrdDate = indexOf("ORD_DATE");
const int kSetDate = indexOf("SET_DATE");
const int kQulKey = indexOf("QUL_KEY");
const int kFcRg = indexOf("FC_RG");
const int kCarCd = indexOf("CAR_CD");

// The customer's quality keys may carry blanks, which go; the dates get their century.
void normalise(OrderRecord &record)
{
    record.fields[size_t(kQulKey)].remove(QLatin1Char(' '));
    record.fields[size_t(kOrdDate)] = slashDate(record.fields[size_t(kOrdDate)]);
    record.fields[size_t(kSetDate)] = slashDate(record.fields[size_t(kSetDate)]);
}

QVariantList workOrderRow(const QString &impDate, const OrderRecord &record, const QString &knrNo)
{
    QVariantList row;
    row.reserve(kFieldCount + 5);
    row << impDate << record.line;
    for (int i = 0; i < kFieldCount; ++i) {
        if (i == kSu)
            row << record.quantity;
        else
            row << record.fields[size_t(i)];
        if (i == kLotNo)
            row << record.seisanNen << record.seisanTuki;
    }
    row << knrNo;
    return row;
}

// The order file read record by record, in chunks, so that memory stays small whatever its
// size; every record normalised as the work table keeps it.
class OrderFile {
public:
    explicit OrderFile(const ImportRequest &request) : m_file(request.path), m_today(request.today)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            throw Failure{QStringLiteral("ファイルを開けません: ") + request.path};
        m_size = m_file.size();
        m_records = OrderFileReader::recordCount(m_size);
    }

    int records() const { return m_records; }

    // Calls fn for every record in file order; a refused record ends the read with its message.
    template <typename Fn> void forEachRecord(Progress &progress, Fn fn)
    {
        OrderRecord record;
        QString reason;
        for (int first = 1; first <= m_records; first += kRecordsPerChunk) {
            const QByteArray chunk = readChunk(first);
            const OrderFileReader reader(chunk, m_today, first);
            const int last = qMin(m_records, first + kRecordsPerChunk - 1);
            for (int n = first; n <= last; ++n) {
                if (!reader.read(n, record, &reason))
                    throw Failure{OrderFileReader::refusalMessage(n, reason)};
                normalise(record);
                fn(record);
                if (n % kProgressEvery == 0)
                    progress.step(n);
            }
        }
        progress.step(m_records);
    }

private:
    QByteArray readChunk(int firstLine)
    {
        const qint64 offset = qint64(firstLine - 1) * kRecordBytes;
        const qint64 wanted =
            qMin<qint64>(qint64(kRecordsPerChunk) * kRecordBytes, m_size - offset);
        if (wanted <= 0)
            return {};
        if (!m_file.seek(offset))
            throw Failure{m_file.errorString()};
        QByteArray bytes = m_file.read(wanted);
        if (bytes.size() != wanted)
            throw Failure{QStringLiteral("ファイルを読み込めません: ") + m_file.errorString()};
        return bytes;
    }

    QFile m_file;
    QDate m_today;
    qint64 m_size = 0;
    int m_records = 0;
};

ControlNumberGroups::Key groupKey(const OrderRecord &r)
{
    return {r.fields[size_t(kFcRg)], r.fields[size_t(kSetDate)], r.fields[size_t(kCarCd)],
            r.fields[size_t(kLotNo)]};
}

// The file is read twice: first every record is checked and its control-number group noted,
// then, with the numbers drawn, the records go into WRK_ORDER as they stay, in one write. A
// file changed between the two readings is refused rather than numbered from its old groups.
void loadWorkTable(Db &db, Progress &progress, const ImportRequest &request)
{
    OrderFile file(request);
    const int total = file.records();
    progress.start(QStringLiteral("ファイル取込..."), total);
    ControlNumberGroups groups;
    file.forEachRecord(progress, [&](const OrderRecord &r) { groups.add(r.line, groupKey(r)); });

    progress.start(QStringLiteral("管理番号..."), total);
    groups.draw(db, request.nen, request.tuki);
    QStringList columns = workOrderColumns();
    columns << QStringLiteral("KNR_NO");
    BulkInserter bulk(db, QStringLiteral("WRK_ORDER"), columns);
    file.forEachRecord(progress, [&](const OrderRecord &r) {
        const std::optional<QString> knrNo = groups.knrNo(r.line, groupKey(r));
        if (!knrNo)
            throw Failure{
                QStringLiteral("ファイルを読み込めません: 取込中にファイルが変更されました。")};
        bulk.add(workOrderRow(request.impDate, r, *knrNo));
    });
    bulk.finish();
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
        loadWorkTable(db, progress, request);
    } catch (const Failure &failure) {
        dialogs.message(failure.message, Icon::Error);
        return 1;
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return 1;
    }
    return 0;
}
