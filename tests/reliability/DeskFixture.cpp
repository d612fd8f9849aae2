#include "DeskFixture.h"

#include "Clock.h"
#include "ControlNumbers.h"
#include "Cp932.h"
#include "DemoData.h"
#include "DemoOrderFile.h"
#include "OpenMonth.h"
#include "globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlRecord>
#include <QThread>

#include <iostream>

namespace {

// Values per line of each kind of output file, by the folder it is written to.
int valuesPerLine(const QString &folder, const QString &file)
{
    if (file.startsWith(QLatin1String("LSTK")))
        return 14;
    if (file.startsWith(QLatin1String("LSHT")))
        return 15;
    Q_UNUSED(folder);
    return 79;
}

constexpr int kControlNumberPosition = 52; // KNR_NO among the 79 print-data values

} // namespace

std::optional<QStringList> parseCsvLine(const QString &line)
{
    QStringList values;
    qsizetype i = 0;
    while (true) {
        if (i >= line.size() || line.at(i) != QLatin1Char('"'))
            return std::nullopt;
        ++i;
        QString value;
        while (true) {
            if (i >= line.size())
                return std::nullopt; // the line ends inside a value
            const QChar c = line.at(i++);
            if (c != QLatin1Char('"')) {
                value += c;
                continue;
            }
            if (i < line.size() && line.at(i) == QLatin1Char('"')) {
                value += c;
                ++i;
                continue;
            }
            break;
        }
        values << value;
        if (i == line.size())
            return values;
        if (line.at(i) != QLatin1Char(','))
            return std::nullopt;
        ++i;
    }
}

void DeskFixture::SetUp()
{
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    DemoData::loadMasters(db());
    DemoData::openBusinessMonth(db(), Clock::today());
    const auto month = OpenMonth::read(db());
    ASSERT_TRUE(month.has_value());
    m_nen = month->nen;
    m_tuki = month->tuki;
    QDir().mkpath(path(QStringLiteral("orders")));
}

bool DeskFixture::soaking()
{
    return !qEnvironmentVariableIsEmpty("OSTERA_SOAK");
}

int DeskFixture::scaled(int ci, int soak)
{
    return soaking() ? soak : ci;
}

QString DeskFixture::writeOrderFile(const QString &impDate, int lines, quint32 seed)
{
    DemoOrderFile::Options options;
    options.date = QDate::fromString(impDate, QStringLiteral("yyyyMMdd"));
    options.lines = lines;
    options.seed = seed;
    const QString file = path(QStringLiteral("orders/ORDER_%1.txt").arg(impDate));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    out.write(DemoOrderFile::generate(options));
    return file;
}

DeskFixture::ProgramRun DeskFixture::ostera(const QStringList &args,
                                            const QMap<QString, QString> &env, int timeoutMs,
                                            int killAfterMs) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("OSTERA_FIXED_CLOCK"), Clock::stamp());
    environment.remove(QStringLiteral("OSTERA_KILL_AT_STATEMENT"));
    for (auto it = env.cbegin(); it != env.cend(); ++it)
        environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    // Another developer's build may be relinking the program in the shared tree this moment.
    for (int attempt = 0; attempt < 100; ++attempt) {
        process.start(QStringLiteral(OSTERA_BINARY), QStringList(args)
                                                         << QStringLiteral("--ini") << iniPath());
        if (process.waitForStarted(30000) || process.error() != QProcess::FailedToStart)
            break;
        QThread::msleep(200);
    }
    ProgramRun outcome;
    if (killAfterMs > 0 && !process.waitForFinished(killAfterMs)) {
        process.kill(); // SIGKILL, as a power cut would
        process.waitForFinished();
    }
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        outcome.err = QStringLiteral("did not finish (") + process.errorString() +
                      QStringLiteral("): ") + args.join(QLatin1Char(' '));
        return outcome;
    }
    outcome.killed = process.exitStatus() == QProcess::CrashExit;
    outcome.status = outcome.killed ? -1 : process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

QStringList DeskFixture::numberingFaults(Db &db)
{
    QStringList faults;
    QSet<QString> counted;
    const QList<QSqlRecord> counters =
        db.rows(QStringLiteral("SELECT FC_RG, KNR_NO FROM SYS_KNR_NO WHERE ORD_NEN = :n AND "
                               "ORD_TUKI = :t ORDER BY FC_RG"),
                {{QStringLiteral("n"), m_nen}, {QStringLiteral("t"), m_tuki}});
    for (const QSqlRecord &counter : counters) {
        const QString fcRg = counter.value(0).toString();
        const int value = counter.value(1).toInt();
        counted.insert(fcRg);
        QSet<QString> expected;
        for (int n = 1; n <= value; ++n)
            expected.insert(formatKnrNo(fcRg, n));
        QSet<QString> used;
        db.forEach(QStringLiteral("SELECT DISTINCT KNR_NO FROM TBL_ORDER WHERE FC_RG = :f"),
                   {{QStringLiteral("f"), fcRg}},
                   [&](const QSqlQuery &q) { used.insert(q.value(0).toString()); });
        if (used != expected)
            faults << QStringLiteral("%1: counter %2, but %3 distinct numbers in use (%4 not "
                                     "handed out, %5 handed out but unused)")
                          .arg(fcRg)
                          .arg(value)
                          .arg(used.size())
                          .arg(QStringList((used - expected).values()).join(QLatin1Char(' ')))
                          .arg((expected - used).size());
    }
    db.forEach(QStringLiteral("SELECT DISTINCT FC_RG FROM TBL_ORDER"), {}, [&](const QSqlQuery &q) {
        if (!counted.contains(q.value(0).toString()))
            faults << QStringLiteral("%1: lines without a counter").arg(q.value(0).toString());
    });
    db.forEach(QStringLiteral("SELECT KNR_NO, COUNT(DISTINCT IMP_DATE) FROM TBL_ORDER "
                              "GROUP BY KNR_NO HAVING COUNT(DISTINCT IMP_DATE) > 1"),
               {}, [&](const QSqlQuery &q) {
                   faults << QStringLiteral("%1 used by %2 days")
                                 .arg(q.value(0).toString(), q.value(1).toString());
               });
    db.forEach(QStringLiteral("SELECT IMP_DATE, KNR_NO FROM TBL_ORDER GROUP BY IMP_DATE, KNR_NO "
                              "HAVING COUNT(DISTINCT FC_RG || '|' || SET_DATE || '|' || CAR_CD "
                              "|| '|' || LOT_NO) > 1"),
               {}, [&](const QSqlQuery &q) {
                   faults << QStringLiteral("%1 %2 numbers several groups")
                                 .arg(q.value(0).toString(), q.value(1).toString());
               });
    db.forEach(QStringLiteral("SELECT IMP_DATE, FC_RG, SET_DATE, CAR_CD, LOT_NO FROM TBL_ORDER "
                              "GROUP BY IMP_DATE, FC_RG, SET_DATE, CAR_CD, LOT_NO "
                              "HAVING COUNT(DISTINCT KNR_NO) > 1"),
               {}, [&](const QSqlQuery &q) {
                   faults << QStringLiteral("%1 group %2/%3/%4/%5 has several numbers")
                                 .arg(q.value(0).toString(), q.value(1).toString(),
                                      q.value(2).toString(), q.value(3).toString(),
                                      q.value(4).toString());
               });
    return faults;
}

QStringList DeskFixture::importFaults(Db &db, const QMap<QString, int> &expectedLines)
{
    QStringList faults;
    db.forEach(QStringLiteral("SELECT DISTINCT IMP_DATE FROM TBL_ORDER WHERE IMP_DATE NOT IN "
                              "(SELECT IMP_DATE FROM SYS_IMPDATE)"),
               {}, [&](const QSqlQuery &q) {
                   faults << q.value(0).toString() + QStringLiteral(": lines of a day never "
                                                                    "registered");
               });
    db.forEach(QStringLiteral("SELECT IMP_DATE FROM SYS_IMPDATE WHERE IMP_DATE NOT IN "
                              "(SELECT IMP_DATE FROM TBL_ORDER)"),
               {}, [&](const QSqlQuery &q) {
                   faults << q.value(0).toString() + QStringLiteral(": registered without lines");
               });
    db.forEach(QStringLiteral("SELECT IMP_DATE, COUNT(*), MIN(IMP_LN), MAX(IMP_LN) FROM TBL_ORDER "
                              "GROUP BY IMP_DATE"),
               {}, [&](const QSqlQuery &q) {
                   const QString day = q.value(0).toString();
                   if (!expectedLines.contains(day))
                       return;
                   const int n = expectedLines.value(day);
                   if (q.value(1).toInt() != n || q.value(2).toInt() != 1 ||
                       q.value(3).toInt() != n)
                       faults << QStringLiteral("%1: %2 lines (%3..%4), the file has %5")
                                     .arg(day, q.value(1).toString(), q.value(2).toString(),
                                          q.value(3).toString())
                                     .arg(n);
               });
    return faults;
}

QStringList DeskFixture::markFaults(Db &db)
{
    const int marked =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE FLG2 <> '0'")).toInt();
    if (marked == 0)
        return {};
    return {QStringLiteral("%1 lines left marked FLG2").arg(marked)};
}

QStringList DeskFixture::stampFaults(Db &db)
{
    QStringList faults;
    const int unstamped = db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE "
                                                   "FLG3 = '1' AND B1 = ''"))
                              .toInt();
    const int stale = db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE "
                                               "FLG3 = '0' AND B1 <> ''"))
                          .toInt();
    if (unstamped)
        faults << QStringLiteral("%1 converted lines without a batch stamp").arg(unstamped);
    if (stale)
        faults << QStringLiteral("%1 unconverted lines with a batch stamp").arg(stale);
    return faults;
}

QStringList DeskFixture::conversionCountFaults(Db &db, const QMap<QString, QList<int>> &runCounts,
                                               const QMap<QString, int> &cancels)
{
    QStringList faults;
    QMap<QString, QList<int>> live;
    db.forEach(QStringLiteral("SELECT IMP_DATE, B1, COUNT(*) FROM TBL_ORDER WHERE FLG3 = '1' "
                              "GROUP BY IMP_DATE, B1 ORDER BY IMP_DATE, B1"),
               {}, [&](const QSqlQuery &q) { live[q.value(0).toString()] << q.value(2).toInt(); });
    QSet<QString> days(runCounts.keyBegin(), runCounts.keyEnd());
    for (auto it = live.cbegin(); it != live.cend(); ++it)
        days.insert(it.key());
    for (const QString &day : days) {
        QList<int> runs = runCounts.value(day);
        const QList<int> stamps = live.value(day);
        const int expectedLive = int(runs.size()) - cancels.value(day);
        if (stamps.size() != expectedLive)
            faults << QStringLiteral("%1: %2 stamps on lines, %3 runs less %4 cancels")
                          .arg(day)
                          .arg(stamps.size())
                          .arg(runs.size())
                          .arg(cancels.value(day));
        for (int n : stamps) {
            if (!runs.removeOne(n))
                faults << QStringLiteral("%1: a stamp covers %2 lines, no run converted as many")
                              .arg(day)
                              .arg(n);
        }
    }
    return faults;
}

QStringList DeskFixture::outputFileFaults(int *temporaries) const
{
    QStringList faults;
    int temps = 0;
    QList<std::pair<QString, bool>> folders; // folder, holds print files of one 管理No each
    for (const QString &folder :
         {session.folderSettings().car, session.folderSettings().kak, session.folderSettings().han,
          session.folderSettings().stk, session.folderSettings().sht})
        folders.append({folder, folder == session.folderSettings().car});
    // What the production floor took away is checked as well.
    const QDir collected(path(QStringLiteral("collected")));
    for (const QString &batch : collected.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &kind :
             QDir(collected.filePath(batch)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            folders.append(
                {collected.filePath(batch + QLatin1Char('/') + kind), kind == QLatin1String("0")});
    for (const auto &[folder, printFiles] : folders) {
        const QDir dir(folder);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
            const QString name = info.fileName();
            if (name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".tmp"))) {
                ++temps;
                continue;
            }
            if (!name.endsWith(QLatin1String(".csv"))) {
                faults << name + QStringLiteral(": not an output file");
                continue;
            }
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly)) {
                faults << name + QStringLiteral(": cannot be read");
                continue;
            }
            const QByteArray bytes = file.readAll();
            if (!bytes.endsWith("\r\n")) {
                faults << name + QStringLiteral(": does not end with a line end (cut short)");
                continue;
            }
            const auto text = Cp932::decode(bytes);
            if (!text) {
                faults << name + QStringLiteral(": not CP932");
                continue;
            }
            const QStringList lines = text->split(QStringLiteral("\r\n"));
            const int expected = valuesPerLine(folder, name);
            for (int i = 0; i + 1 < lines.size(); ++i) {
                const auto values = parseCsvLine(lines.at(i));
                if (!values || values->size() != expected) {
                    faults << QStringLiteral("%1 line %2: not %3 quoted values")
                                  .arg(name)
                                  .arg(i + 1)
                                  .arg(expected);
                    break;
                }
                // A print file is named by its control number, or by the next free name
                // when an earlier file of that number was still there.
                static const QRegularExpression freeName(QStringLiteral("_[1-9][0-9]?\\.csv$"));
                QString base = name;
                base.replace(freeName, QStringLiteral(".csv"));
                if (printFiles &&
                    values->at(kControlNumberPosition) + QStringLiteral(".csv") != base) {
                    faults << QStringLiteral("%1 line %2: a line of %3")
                                  .arg(name)
                                  .arg(i + 1)
                                  .arg(values->at(kControlNumberPosition));
                    break;
                }
            }
        }
    }
    if (temporaries)
        *temporaries = temps;
    return faults;
}

void DeskFixture::collectOutputFiles() const
{
    static std::atomic<int> batches{0};
    const QString batch = path(QStringLiteral("collected/%1").arg(++batches));
    const QStringList folders = {session.folderSettings().car, session.folderSettings().kak,
                                 session.folderSettings().han, session.folderSettings().stk,
                                 session.folderSettings().sht};
    for (int kind = 0; kind < folders.size(); ++kind) {
        const QDir dir(folders[kind]);
        const QString target = batch + QStringLiteral("/%1").arg(kind);
        for (const QString &name : dir.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
            QDir().mkpath(target);
            // Another workstation may take the same file first; then it is gone here.
            QFile::rename(dir.filePath(name), target + QLatin1Char('/') + name);
        }
    }
}

void DeskFixture::printFigures(const QString &name, const QStringList &figures)
{
    const QByteArray line =
        (QStringLiteral("figures: ") + name + QStringLiteral(": ") + figures.join(QLatin1Char(' ')))
            .toUtf8();
    std::cout << line.constData() << std::endl;
}
