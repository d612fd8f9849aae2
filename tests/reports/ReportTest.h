// Shared by the report tests: rows for WRK_RPT and MST_QUL written straight into the tables,
// and a recording engine to print them with.
#pragma once

#include "DbTest.h"
#include "PrintRequest.h"
#include "Progress.h"
#include "ReportEngine.h"

#include <QSqlRecord>
#include <QStringList>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class ReportTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        engine.setRecording(true);
    }

    // One report line; unnamed columns take a plain default.
    void addLine(const QVariantMap &values)
    {
        QVariantMap row = {
            {QStringLiteral("IMP_DATE"), QStringLiteral("20261208")},
            {QStringLiteral("IMP_LN"), ++m_lineNo},
            {QStringLiteral("LOT_NO"), QStringLiteral("L001")},
            {QStringLiteral("KNR_NO"), QStringLiteral("AB-001")},
            {QStringLiteral("ORD_DATE"), QStringLiteral("2026/12/07")},
            {QStringLiteral("SET_DATE"), QStringLiteral("2026/12/15")},
            {QStringLiteral("BR_CD"), QStringLiteral("BR1")},
            {QStringLiteral("FC_RG"), QStringLiteral("AB")},
            {QStringLiteral("FC_CD"), QStringLiteral("F01")},
            {QStringLiteral("FC_NM"), QStringLiteral("第一工場")},
            {QStringLiteral("SEISAN_NEN"), QStringLiteral("2026")},
            {QStringLiteral("HINBAN"), QStringLiteral("H100")},
            {QStringLiteral("CAR_CD"), QStringLiteral("C1")},
            {QStringLiteral("COL"), QStringLiteral("01")},
            {QStringLiteral("SIZE0"), QStringLiteral("M")},
            {QStringLiteral("SU"), 10},
            {QStringLiteral("SHO_NM2"), QStringLiteral("洗濯ネーム")},
            {QStringLiteral("DATA_FLG"), QStringLiteral("1")},
        };
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            row.insert(it.key(), it.value());
        insert(QStringLiteral("WRK_RPT"), row);
    }

    // n lines of one group, numbered through a column (the colour by default).
    void addLines(int n, const QVariantMap &values = {},
                  const QString &numbered = QStringLiteral("COL"))
    {
        for (int i = 1; i <= n; ++i) {
            QVariantMap row = values;
            row.insert(numbered, QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
            addLine(row);
        }
    }

    void addQuality(const QString &key, const QVariantMap &values = {})
    {
        QVariantMap row = {{QStringLiteral("QUL_KEY"), key},
                           {QStringLiteral("QUL_NO"), QStringLiteral("N") + key},
                           {QStringLiteral("TIME_STAMP"), QStringLiteral("2026/12/01 09:00:00")}};
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            row.insert(it.key(), it.value());
        insert(QStringLiteral("MST_QUL"), row);
    }

    void insert(const QString &table, const QVariantMap &row)
    {
        QStringList names;
        QStringList holders;
        QVariantMap params;
        int i = 0;
        for (auto it = row.constBegin(); it != row.constEnd(); ++it, ++i) {
            names << it.key();
            holders << QStringLiteral(":v%1").arg(i);
            params.insert(QStringLiteral("v%1").arg(i), it.value());
        }
        db().exec(QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                      .arg(table, names.join(QLatin1Char(',')), holders.join(QLatin1Char(','))),
                  params);
    }

    PrintRequest request(const QString &printer = QStringLiteral("PDFファイル"))
    {
        return PrintRequest{db(), dialogs, progress, printer};
    }

    const QList<RecordedPage> &pages() const { return engine.pages(); }

    // How many detail lines a page shows (lines whose quantity field is filled).
    static int linesOn(const RecordedPage &page, const QString &field = QStringLiteral("Su"),
                       int most = 29)
    {
        int n = 0;
        for (int i = 1; i <= most; ++i)
            n += page.text(field + QString::number(i)).isEmpty() ? 0 : 1;
        return n;
    }

    ReportEngine engine;

private:
    int m_lineNo = 0;
};
