#include "QualityCsvExport.h"

#include "Cp932.h"
#include "CsvLine.h"
#include "Db.h"
#include "Installation.h"
#include "QualityMaster.h"

#include <QSaveFile>

namespace {
QString field(const QSqlRecord &row, const QString &name)
{
    const int index = row.indexOf(name);
    if (index < 0 || row.isNull(index))
        return QString();
    return row.value(index).toString();
}

QStringList empties(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QString();
    return list;
}

QString unencodableMessage(const QString &key, const QString &character)
{
    return QStringLiteral("品質キー ") + key + QStringLiteral(" に出力できない文字「") + character +
           QStringLiteral("」があります。");
}
} // namespace

QStringList QualityCsvExport::fields(const QSqlRecord &row)
{
    // The code is joined, not formatted: an empty layout number makes it shorter.
    QStringList out = {QStringLiteral("1") + field(row, QStringLiteral("LAYOUT2")) +
                           field(row, QStringLiteral("LAYOUT3")) +
                           field(row, QStringLiteral("LAYOUT4")) + QStringLiteral("1"),
                       QStringLiteral("1")};
    out << empties(11) << field(row, QStringLiteral("QUL_NO"));
    for (int n = 1; n <= QualityMaster::kRows; ++n)
        for (const char *name : {"BUI", "SOS", "KON"})
            out << field(row, QualityMaster::numbered(QLatin1String(name), n));
    for (int n = 1; n <= QualityMaster::kSymbols; ++n)
        out << field(row, QualityMaster::numbered(QStringLiteral("EHJ"), n));
    for (int n = 1; n <= QualityMaster::kNotes; ++n)
        out << field(row, QualityMaster::numbered(QStringLiteral("EFUKI"), n));
    out << empties(kFields - int(out.size()));
    return out;
}

QString QualityCsvExport::line(const QStringList &fields)
{
    return CsvLine::quoted(fields) + QStringLiteral("\r\n");
}

QualityCsvExport::Result QualityCsvExport::exportCsv(Db &db, const QString &folder)
{
    const QList<QSqlRecord> rows = db.rows(QualityMaster::listStatement());
    Result result;
    if (rows.isEmpty())
        return result;

    const QString path = Installation::joinPath(folder, fileName());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.outcome = Outcome::Failed;
        result.message = path + QStringLiteral(" に書き込めません。") + file.errorString();
        return result;
    }
    for (const QSqlRecord &row : rows) {
        const Cp932::Encoded encoded = Cp932::encode(line(fields(row)));
        if (!encoded.ok()) {
            file.cancelWriting();
            result.outcome = Outcome::Refused;
            result.message =
                unencodableMessage(field(row, QStringLiteral("QUL_KEY")), encoded.badChar);
            return result;
        }
        file.write(encoded.bytes);
    }
    if (!file.commit()) {
        result.outcome = Outcome::Failed;
        result.message = path + QStringLiteral(" に書き込めません。") + file.errorString();
        return result;
    }
    result.outcome = Outcome::Done;
    result.path = path;
    return result;
}
