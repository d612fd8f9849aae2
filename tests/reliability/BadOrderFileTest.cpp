// Order files that are wrong or odd (tests/data/bad/, see its README): a wrong one is refused
// with a message naming the record and leaves nothing behind (no line, no registration, no
// counter raised, the work table as it was); an odd one is stored exactly as it stands, and the
// error check and the findings list work on it. And one day of 200 000 records.
#include "DemoOrderFile.h"
#include "DeskFixture.h"
#include "ImportRun.h"
#include "OrderFileReader.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

struct Counts {
    int lines = 0;
    int work = 0;
    int days = 0;
    int numbers = 0;
    int findings = 0;
    bool operator==(const Counts &) const = default;
};

void PrintTo(const Counts &c, std::ostream *os)
{
    *os << "lines " << c.lines << ", work rows " << c.work << ", days " << c.days
        << ", numbers handed out " << c.numbers << ", findings " << c.findings;
}

} // namespace

class BadOrderFileTest : public DeskFixture {
protected:
    bool importFile(const QString &file, const QString &day)
    {
        dialogs.clear();
        return ImportRun(db(), dialogs, progress)
                   .run({file, day, m_nen, m_tuki, QDate(2026, 12, 8)}) == Outcome::Done;
    }

    Counts counts()
    {
        Counts c;
        c.lines = count(QStringLiteral("TBL_ORDER"));
        c.work = count(QStringLiteral("WRK_ORDER"));
        c.days = count(QStringLiteral("SYS_IMPDATE"));
        c.numbers =
            db().scalar(QStringLiteral("SELECT COALESCE(SUM(KNR_NO), 0) FROM SYS_KNR_NO")).toInt();
        c.findings = count(QStringLiteral("TBL_ERR"));
        return c;
    }

    QString value(const char *table, const QString &day, int line, const char *column)
    {
        return db()
            .scalar(QStringLiteral("SELECT ") + QLatin1String(column) + QStringLiteral(" FROM ") +
                        QLatin1String(table) +
                        QStringLiteral(" WHERE IMP_DATE = :d AND IMP_LN = :ln"),
                    {{QStringLiteral("d"), day}, {QStringLiteral("ln"), line}})
            .toString();
    }
};
INSTANTIATE_ENGINES(BadOrderFileTest);

TEST_P(BadOrderFileTest, WrongFilesAreRefusedNamingTheRecordAndWriteNothing)
{
    ASSERT_TRUE(importFile(testDataPath(QStringLiteral("orders/day_5_lines.txt")),
                           QStringLiteral("20261201")));
    const Counts before = counts();
    struct Case {
        const char *file;
        int record;
        QString reason;
    };
    const QList<Case> cases = {
        {"empty.txt", 1, OrderFileReader::shortRecordReason()},
        {"short_last_record.txt", 3, OrderFileReader::shortRecordReason()},
        {"invalid_cp932_in_2.txt", 2, OrderFileReader::encodingReason()},
        {"quantity_with_letters_in_2.txt", 2, OrderFileReader::quantityReason()},
        {"nul_byte_in_3.txt", 3, OrderFileReader::nulReason()},
    };
    int day = 2;
    for (const Case &c : cases) {
        const QString impDate = QStringLiteral("202612%1").arg(day++, 2, 10, QLatin1Char('0'));
        EXPECT_FALSE(importFile(testDataPath(QStringLiteral("bad/") + c.file), impDate)) << c.file;
        EXPECT_TRUE(dialogs.texts().contains(OrderFileReader::refusalMessage(c.record, c.reason)))
            << c.file << ": " << dialogs.texts().join('|').toStdString();
        EXPECT_EQ(dialogs.last().text, QStringLiteral("エラー終了しました。")) << c.file;
        EXPECT_EQ(counts(), before) << c.file;
        // The same in batch: status 1, the message on stderr, and the day can be imported
        // once the file is mended.
        const ProgramRun batch =
            ostera({QStringLiteral("import"), testDataPath(QStringLiteral("bad/") + c.file),
                    QStringLiteral("--date"), impDate});
        EXPECT_EQ(batch.status, 1) << c.file;
        EXPECT_TRUE(batch.err.contains(OrderFileReader::refusalMessage(c.record, c.reason)))
            << c.file << ": " << batch.err.toStdString();
        EXPECT_EQ(counts(), before) << c.file;
    }
    EXPECT_TRUE(importFile(testDataPath(QStringLiteral("orders/day_5_lines.txt")),
                           QStringLiteral("20261202")));
}

TEST_P(BadOrderFileTest, OddFilesAreStoredAsTheyStand)
{
    const auto imported = [&](const char *file, const QString &day) {
        const bool done = importFile(testDataPath(QStringLiteral("bad/") + file), day);
        EXPECT_TRUE(done) << file << ": " << dialogs.texts().join('|').toStdString();
        EXPECT_FALSE(
            dialogs.texts().contains(QStringLiteral("エラーチェック中にエラーが発生しました。")))
            << file;
        return done;
    };

    ASSERT_TRUE(imported("no_final_line_end.txt", QStringLiteral("20261201")));
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("IMP_DATE = '20261201'")), 3);
    EXPECT_EQ(value("TBL_ORDER", QStringLiteral("20261201"), 3, "CAR_CD"), QStringLiteral("A"));

    ASSERT_TRUE(imported("double_byte_shift_in_2.txt", QStringLiteral("20261202")));
    const QString shifted = QStringLiteral("20261202");
    EXPECT_EQ(value("WRK_ORDER", shifted, 2, "TAG_CD"), QStringLiteral("ア01N"));
    EXPECT_EQ(value("WRK_ORDER", shifted, 2, "SND_CD"), QStringLiteral("13001"));
    EXPECT_EQ(value("WRK_ORDER", shifted, 2, "F17"), QStringLiteral("A"));
    EXPECT_EQ(value("TBL_ORDER", shifted, 2, "CAR_CD"), QString());
    EXPECT_EQ(value("TBL_ORDER", shifted, 2, "SU"), QStringLiteral("120"));
    EXPECT_EQ(value("TBL_ORDER", shifted, 1, "CAR_CD"), QStringLiteral("A")); // only its record
    EXPECT_EQ(value("TBL_ORDER", shifted, 3, "CAR_CD"), QStringLiteral("A"));

    ASSERT_TRUE(imported("blank_dates_in_2.txt", QStringLiteral("20261203")));
    EXPECT_EQ(value("TBL_ORDER", QStringLiteral("20261203"), 2, "ORD_DATE || SET_DATE"),
              QStringLiteral("20//20//"));

    ASSERT_TRUE(imported("quotes_semicolons_percent_in_2.txt", QStringLiteral("20261204")));
    const QString odd = QStringLiteral("20261204");
    EXPECT_EQ(value("TBL_ORDER", odd, 2, "HINBAN"), QStringLiteral("O'S;1%"));
    EXPECT_EQ(value("TBL_ORDER", odd, 2, "COL"), QStringLiteral("\"'"));
    EXPECT_EQ(value("TBL_ORDER", odd, 2, "QUL_KEY"), QStringLiteral("--;DR_P%"));
    EXPECT_EQ(value("TBL_ORDER", odd, 2, "LOT_NO"), QStringLiteral("J'%_\"--"));
    EXPECT_EQ(value("TBL_ORDER", odd, 2, "SEISAN_NEN || SEISAN_TUKI"), QStringLiteral("ｴﾗ!!"));
    EXPECT_EQ(value("WRK_ORDER", odd, 2, "F17"), QStringLiteral("'); DROP --"));
    // The line's findings name it with its odd values, and the batch list prints them.
    const ProgramRun errors = ostera({QStringLiteral("errors"), odd});
    EXPECT_EQ(errors.status, 0) << errors.err.toStdString();
    EXPECT_TRUE(errors.out.contains(QStringLiteral("--;DR_P%"))) << errors.out.toStdString();
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER")), 12);
    EXPECT_EQ(numberingFaults(db()), QStringList());
}

TEST_P(BadOrderFileTest, TwoHundredThousandRecordsAreStoredWhole)
{
    const QString file = path(QStringLiteral("orders/big.txt"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(DemoOrderFile::generate({QDate(2026, 12, 1), 200000, 11, true}));
    }
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(importFile(file, QStringLiteral("20261201")))
        << dialogs.texts().join('|').toStdString();
    const qint64 ms = timer.elapsed();
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER")), 200000);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT MAX(IMP_LN) FROM TBL_ORDER")).toInt(), 200000);
    EXPECT_EQ(count(QStringLiteral("SYS_IMPDATE")), 1);
    // Thousands of groups per factory: the counters count every group once, and no number
    // serves two groups.
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(DISTINCT KNR_NO) FROM TBL_ORDER")).toInt(),
              db().scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT FC_RG, SET_DATE, "
                                         "CAR_CD, LOT_NO FROM TBL_ORDER) G"))
                  .toInt());
    EXPECT_EQ(db().rows(QStringLiteral("SELECT C.FC_RG FROM SYS_KNR_NO C JOIN (SELECT FC_RG, "
                                       "COUNT(*) N FROM (SELECT DISTINCT FC_RG, SET_DATE, CAR_CD, "
                                       "LOT_NO FROM TBL_ORDER) G GROUP BY FC_RG) L ON "
                                       "L.FC_RG = C.FC_RG WHERE L.N <> C.KNR_NO"))
                  .size(),
              0);
    printFigures(QStringLiteral("big order file"),
                 {QStringLiteral("engine=%1").arg(isPostgreSQL() ? "PostgreSQL" : "SQLite"),
                  QStringLiteral("records=200000"), QStringLiteral("import_ms=%1").arg(ms)});
}
