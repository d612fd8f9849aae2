// Order lines and masters for the conversion tests, inserted directly so that the tests do
// not depend on order files. The lines carry what the enrichment gives them from these
// masters, so an error check run over them changes nothing and finds nothing, except on
// lines made to fail (a ROW missing from the masters).
#pragma once

#include "Cp932.h"
#include "Db.h"
#include "DbTest.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

namespace ConversionFixture {

inline const QString kDay = QStringLiteral("20261208");

struct OrderLine {
    QString impDate = kDay;
    int ln = 1;
    QString knrNo = QStringLiteral("AB-001");
    QString lotNo = QStringLiteral("L0001");
    QString fcRg = QStringLiteral("AB");
    QString fcCd = QStringLiteral("001");
    QString setDate = QStringLiteral("2026/12/10");
    QString carCd = QStringLiteral("C01");
    QString hinban = QStringLiteral("AB1234");
    QString col = QStringLiteral("RD");
    QString row = QStringLiteral("05"); // 04 S, 05 M, 06 L; anything else fails the checks
    QString qulKey = QStringLiteral("Q1");
    int su = 10;
    QString dataFlg = QStringLiteral("1");
    QString printer = QStringLiteral("TP-1");
    QString flg1 = QStringLiteral("0");
    QString flg3 = QStringLiteral("0");
    QString flg4 = QStringLiteral("0");
    QString flg5 = QStringLiteral("0");
    QString b1;
    QString b2;
};

inline OrderLine letterpress(OrderLine line)
{
    line.dataFlg = QStringLiteral("0");
    line.printer = QStringLiteral("LP-1");
    return line;
}

// Inserts one row; a null text is stored as '' like every text the desk writes.
inline void exec(Db &db, const QString &table, QVariantMap values)
{
    QStringList columns;
    QStringList marks;
    for (auto it = values.begin(); it != values.end(); ++it) {
        columns << it.key();
        marks << QLatin1Char(':') + it.key();
        if (it.value().typeId() == QMetaType::QString && it.value().toString().isNull())
            it.value() = QStringLiteral("");
    }
    db.exec(QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') +
                columns.join(QLatin1Char(',')) + QStringLiteral(") VALUES(") +
                marks.join(QLatin1Char(',')) + QLatin1Char(')'),
            values);
}

inline void loadMasters(Db &db)
{
    exec(db, QStringLiteral("MST_CAR"),
         {{"CAR_CD", "C01"},
          {"LAYOUT1", "N1"},
          {"B1", "表紙A"},
          {"O_SHO_CD", "O-01"},
          {"D_SHO_CD", "D-01"},
          {"SHO_NM1", "品質表示"},
          {"SHO_NM2", "ケアラベル"},
          {"SPARE_SU0", 100},
          {"SPARE_SU1", 5},
          {"SPARE_SU2", 10},
          {"YARE_SU", 3},
          {"BIKO1", "備考C01"}});
    exec(db, QStringLiteral("MST_CAR"),
         {{"CAR_CD", "C02"},
          {"LAYOUT1", "N2"},
          {"SHO_NM1", "サイズ"},
          {"SPARE_SU0", 0},
          {"YARE_SU", 0}});
    exec(db, QStringLiteral("MST_QUL"),
         {{"QUL_KEY", "Q1"},
          {"QUL_NO", "QN1"},
          {"LAYOUT2", "1"},
          {"LAYOUT3", "1"},
          {"LAYOUT4", "2"},
          {"BUI1", "表地"},
          {"SOS1", "綿"},
          {"KON1", "100%"},
          {"EHJ1", "101"},
          {"EFUKI1", "手洗い"}});
    exec(db, QStringLiteral("MST_QUL"),
         {{"QUL_KEY", "Q2"},
          {"QUL_NO", "QN2"},
          {"LAYOUT2", "2"},
          {"LAYOUT3", "1"},
          {"LAYOUT4", "1"},
          {"SOS1", "ポリエステル"},
          {"KON1", "100%"}});
    exec(db, QStringLiteral("MST_FACTORY"),
         {{"FC_RG", "AB"},
          {"FC_CD", "001"},
          {"FC_RNM", "第一"},
          {"FC_NM", "第一工場"},
          {"GENSAN", "日本製"},
          {"ADRESS1", "東京都"},
          {"ADRESS2", "1-2-3"},
          {"SEI_NO", "S1"},
          {"NOU_NO", "N1"},
          {"OKR_NO", "K1"},
          {"BIKO1", "工場備考"}});
    exec(db, QStringLiteral("MST_FACTORY"),
         {{"FC_RG", "CD"},
          {"FC_CD", "002"},
          {"FC_RNM", "第二"},
          {"FC_NM", "第二工場"},
          {"GENSAN", "中国製"}});
    exec(db, QStringLiteral("MST_HINBANKUBUN"), {{"HINBAN_KBN", "AB"}, {"BR_CD", "B01"}});
    exec(db, QStringLiteral("MST_HINBANKUBUN"), {{"HINBAN_KBN", "CD"}, {"BR_CD", "B01"}});
    exec(db, QStringLiteral("MST_BRAND"), {{"BR_CD", "B01"}, {"BR_NM", "ブランドA"}});
    const QList<std::pair<QString, QString>> sizes = {{"04", "S"}, {"05", "M"}, {"06", "L"}};
    for (int i = 0; i < sizes.size(); ++i) {
        exec(db, QStringLiteral("MST_SIZ"),
             {{"SIZE_KEY", "X01" + sizes[i].first},
              {"SIZE0", sizes[i].second},
              {"SIZE_SORT_LV", i + 1}});
        exec(db, QStringLiteral("MST_TARVOLIN_SIZE"),
             {{"ROW", sizes[i].first}, {"SIZE_KBN", "X01"}});
        exec(db, QStringLiteral("MST_ROW"), {{"ROW", sizes[i].first}});
    }
    exec(db, QStringLiteral("MST_PRINTER"), {{"PRINTER", "TP-1"}, {"DATA_FLG", "1"}});
    exec(db, QStringLiteral("MST_PRINTER"), {{"PRINTER", "LP-1"}, {"DATA_FLG", "0"}});
}

inline void registerDay(Db &db, const QString &impDate = kDay)
{
    exec(db, QStringLiteral("SYS_IMPDATE"), {{"IMP_DATE", impDate}, {"KAKUTEI_FLG", "0"}});
}

// One line as the build and the enrichment leave it.
inline void addLine(Db &db, const OrderLine &l)
{
    const bool third = l.hinban.size() > 2 && l.hinban.at(2).isDigit();
    const bool factoryAB = l.fcRg == QLatin1String("AB");
    const bool careLabel = l.carCd == QLatin1String("C01");
    exec(db, QStringLiteral("TBL_ORDER"),
         {{"IMP_DATE", l.impDate},
          {"IMP_LN", l.ln},
          {"KNR_NO", l.knrNo},
          {"LOT_NO", l.lotNo},
          {"FC_RG", l.fcRg},
          {"FC_CD", l.fcCd},
          {"FC_NM", factoryAB ? "第一工場" : "第二工場"},
          {"FC_RNM", factoryAB ? "第一" : "第二"},
          {"ORD_DATE", "2026/12/08"},
          {"SET_DATE", l.setDate},
          {"BR_CD", "B01"},
          {"BR_NM", "ブランドA"},
          {"HINBAN_KBN", third ? l.hinban.left(2) : l.hinban.left(3)},
          {"HINBAN", l.hinban},
          {"COL", l.col},
          {"S_TBL", "X"},
          {"S_FLD", "01"},
          {"ROW", l.row},
          {"SIZE_KEY", "X01" + l.row},
          {"SU", l.su},
          {"SPARE_SU", careLabel ? (l.su <= 100 ? 5 : 10) : 0},
          {"YARE_SU", careLabel ? 3 : 0},
          {"SEISAN_NEN", "26"},
          {"SEISAN_TUKI", "12"},
          {"GENSAN1", factoryAB ? "日本製" : "中国製"},
          {"QUL_KEY", l.qulKey},
          {"CAR_CD", l.carCd},
          {"DATA_FLG", l.dataFlg},
          {"PRINTER", l.printer},
          {"FLG1", l.flg1},
          {"FLG3", l.flg3},
          {"FLG4", l.flg4},
          {"FLG5", l.flg5},
          {"B1", l.b1},
          {"B2", l.b2}});
}

// Lot totals and averages as the enrichment computes them, once every line is in.
inline void finishLines(Db &db)
{
    db.exec(QStringLiteral(
        "UPDATE TBL_ORDER SET "
        "LOT_SU = (SELECT SUM(T.SU) FROM TBL_ORDER T WHERE T.LOT_NO = TBL_ORDER.LOT_NO), "
        "LOT_AVG = (SELECT SUM(T.SU) / COUNT(T.SU) FROM TBL_ORDER T WHERE T.LOT_NO = "
        "TBL_ORDER.LOT_NO)"));
}

// Makes every update of `column` (or of any column when empty) in `table` fail, the way a
// database refuses a statement.
inline void refuseUpdates(Db &db, const QString &table, const QString &column = QString())
{
    const QString of =
        column.isEmpty() ? QString() : QStringLiteral("OF ") + column + QLatin1Char(' ');
    const QString name = QStringLiteral("refuse_") + table + QLatin1Char('_') + column;
    if (db.isSQLite()) {
        db.exec(QStringLiteral("CREATE TRIGGER ") + name + QStringLiteral(" BEFORE UPDATE ") + of +
                QStringLiteral("ON ") + table +
                QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'update refused'); END"));
        return;
    }
    db.exec(
        QStringLiteral("CREATE FUNCTION ") + name +
        QStringLiteral("() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'update refused'; END $$ "
                       "LANGUAGE plpgsql"));
    db.exec(QStringLiteral("CREATE TRIGGER ") + name + QStringLiteral(" BEFORE UPDATE ") + of +
            QStringLiteral("ON ") + table + QStringLiteral(" FOR EACH ROW EXECUTE FUNCTION ") +
            name + QStringLiteral("()"));
}

// A written CSV file, decoded from CP932; empty when missing or not CP932.
inline QString readCp932(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Cp932::decode(file.readAll()).value_or(QString());
}

// The lines of a file in the desk's CSV form (every value quoted, "" inside a value).
inline QList<QStringList> readCsv(const QString &path)
{
    QList<QStringList> rows;
    const QString text = readCp932(path);
    if (text.isEmpty())
        return rows;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList values;
        QString value;
        bool quoted = false;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (quoted) {
                if (c == QLatin1Char('"') && i + 1 < line.size() &&
                    line.at(i + 1) == QLatin1Char('"')) {
                    value += c;
                    ++i;
                } else if (c == QLatin1Char('"')) {
                    quoted = false;
                } else {
                    value += c;
                }
            } else if (c == QLatin1Char('"')) {
                quoted = true;
            } else if (c == QLatin1Char(',')) {
                values << value;
                value.clear();
            } else {
                value += c;
            }
        }
        values << value;
        rows << values;
    }
    return rows;
}

// File names in a folder, sorted, hidden ones included (a temporary file left behind shows).
inline QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace ConversionFixture

// A database holding the masters above, with the fixture's day registered.
class ConversionDayTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ConversionFixture::loadMasters(db());
        ConversionFixture::registerDay(db());
    }
};
