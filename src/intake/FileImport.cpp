#include "FileImport.h"

#include "ControlNumberGroups.h"
#include "Db.h"
#include "Dialogs.h"
#include "OrderFileReader.h"
#include "Progress.h"

#include <QFile>

namespace {

using namespace OrderFileLayout;

constexpr qint64 kReadBytes = 1 << 20;
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

// Every record of the content in file order, checked and normalised as the work table keeps it;
// a refused record ends the walk with its message.
template <typename Fn>
void forEachRecord(const QByteArray &bytes, const QDate &today, int records, Progress &progress,
                   Fn fn)
{
    const OrderFileReader reader(bytes, today);
    OrderRecord record;
    QString reason;
    for (int n = 1; n <= records; ++n) {
        if (!reader.read(n, record, &reason))
            throw Failure{OrderFileReader::refusalMessage(n, reason)};
        normalise(record);
        fn(record);
        if (n % kProgressEvery == 0)
            progress.step(n);
    }
    progress.step(records);
}

// The whole file as bytes, read to its end (a pipe or FIFO has no size to go by).
QByteArray readWhole(const QString &path, Progress &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure{QStringLiteral("ファイルを開けません: ") + path};
    constexpr qint64 limit = qint64(OrderFileContent::kMaxRecords) * kRecordBytes;
    QByteArray bytes;
    if (!file.isSequential())
        bytes.reserve(qMin(file.size(), limit));
    for (;;) {
        const QByteArray part = file.read(kReadBytes);
        if (part.isEmpty())
            break;
        bytes.append(part);
        if (bytes.size() > limit)
            throw Failure{QStringLiteral("ファイルを読み込めません: ") +
                          QString::number(OrderFileContent::kMaxRecords) +
                          QStringLiteral("件を超えています。")};
        progress.pump();
    }
    if (file.error() != QFileDevice::NoError)
        throw Failure{QStringLiteral("ファイルを読み込めません: ") + file.errorString()};
    return bytes;
}

ControlNumberGroups::Key groupKey(const OrderRecord &r)
{
    return {r.fields[size_t(kFcRg)], r.fields[size_t(kSetDate)], r.fields[size_t(kCarCd)],
            r.fields[size_t(kLotNo)]};
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

std::optional<OrderFileContent> OrderFileContent::read(Dialogs &dialogs, Progress &progress,
                                                       const ImportRequest &request)
{
    try {
        OrderFileContent content(request.today);
        content.m_bytes = readWhole(request.path, progress);
        content.m_records = OrderFileReader::recordCount(content.m_bytes.size());
        progress.start(QStringLiteral("ファイル取込..."), content.m_records);
        forEachRecord(content.m_bytes, content.m_today, content.m_records, progress,
                      [&](const OrderRecord &r) { content.m_groups.add(r.line, groupKey(r)); });
        return content;
    } catch (const Failure &failure) {
        dialogs.message(failure.message, Icon::Error);
        return std::nullopt;
    }
}

Outcome importFile(Db &db, Dialogs &dialogs, Progress &progress, const ImportRequest &request,
                   OrderFileContent &content)
{
    try {
        db.exec(QStringLiteral("DELETE FROM WRK_ORDER"));
        progress.start(QStringLiteral("管理番号..."), content.m_records);
        content.m_groups.draw(db, request.nen, request.tuki);
        QStringList columns = workOrderColumns();
        columns << QStringLiteral("KNR_NO");
        BulkInserter bulk(db, QStringLiteral("WRK_ORDER"), columns);
        forEachRecord(content.m_bytes, content.m_today, content.m_records, progress,
                      [&](const OrderRecord &r) {
                          // The same bytes were grouped: every line has its number.
                          const std::optional<QString> knrNo =
                              content.m_groups.knrNo(r.line, groupKey(r));
                          if (!knrNo)
                              throw Failure{OrderFileReader::refusalMessage(
                                  r.line, QStringLiteral("管理Noを付けられません。"))};
                          bulk.add(workOrderRow(request.impDate, r, *knrNo));
                      });
        bulk.finish();
    } catch (const Failure &failure) {
        dialogs.message(failure.message, Icon::Error);
        return Outcome::Refused;
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome importFile(Db &db, Dialogs &dialogs, Progress &progress, const ImportRequest &request)
{
    std::optional<OrderFileContent> content = OrderFileContent::read(dialogs, progress, request);
    if (!content)
        return Outcome::Refused;
    return importFile(db, dialogs, progress, request, *content);
}
