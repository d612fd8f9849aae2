// The import and the enrichment in their first, step-by-step form: one statement per
// normalisation, a numbering update over the work table, the build followed by the
// manufacturer update, and the fourteen enrichment statements in their binding order. The
// desk now does the same work in fewer writes; the equivalence tests hold it to this form.
#pragma once

#include "Db.h"
#include "OrderBuild.h"
#include "OrderFileReader.h"

#include <QStringList>

namespace ReferenceIntake {

// The fourteen enrichment statements; each takes the import date as :d.
inline QStringList enrichmentStatements()
{
    const QString hinbanClass =
        "CASE WHEN substr(TBL_ORDER.HINBAN, 3, 1) IN "
        "('0','1','2','3','4','5','6','7','8','9','+','-','.',',','$','\\') "
        "THEN substr(TBL_ORDER.HINBAN, 1, 2) ELSE substr(TBL_ORDER.HINBAN, 1, 3) END";
    const QString sizeKey =
        "TBL_ORDER.S_END || TBL_ORDER.S_TBL || TBL_ORDER.S_FLD || TBL_ORDER.ROW";
    // Over the whole table: every line of every day that shares a lot with the day's lines.
    auto lot = [](const QString &column, const QString &aggregate) {
        return QString("UPDATE TBL_ORDER SET %1 = M1.SU2 FROM (SELECT LOT_NO, %2 SU2 "
                       "FROM TBL_ORDER GROUP BY LOT_NO) M1 "
                       "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.LOT_NO = M1.LOT_NO")
            .arg(column, aggregate);
    };
    return {
        "UPDATE TBL_ORDER SET COL = MST_COL.COL FROM MST_COL "
        "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.S_TBL = MST_COL.S_TBL "
        "AND TBL_ORDER.S_FLD = MST_COL.S_FLD AND TBL_ORDER.SCN = 'C'",
        "UPDATE TBL_ORDER SET COL = 'WH' WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.COL = ''",
        "UPDATE TBL_ORDER SET S_END = '' "
        "WHERE TBL_ORDER.IMP_DATE = :d AND (TBL_ORDER.S_END = 'A' OR TBL_ORDER.S_END = 'M')",
        lot("LOT_SU", "SUM(SU)"),
        lot("LOT_AVG", "SUM(SU) / COUNT(SU)"),
        "UPDATE TBL_ORDER SET SPARE_SU = MST_CAR.SPARE_SU1 FROM MST_CAR "
        "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.CAR_CD = MST_CAR.CAR_CD "
        "AND MST_CAR.SPARE_SU0 >= TBL_ORDER.SU AND MST_CAR.SPARE_SU0 > 0",
        "UPDATE TBL_ORDER SET SPARE_SU = MST_CAR.SPARE_SU2 FROM MST_CAR "
        "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.CAR_CD = MST_CAR.CAR_CD "
        "AND MST_CAR.SPARE_SU0 < TBL_ORDER.SU AND MST_CAR.SPARE_SU0 > 0",
        "UPDATE TBL_ORDER SET YARE_SU = MST_CAR.YARE_SU FROM MST_CAR "
        "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.CAR_CD = MST_CAR.CAR_CD "
        "AND MST_CAR.YARE_SU > 0",
        "UPDATE TBL_ORDER SET HINBAN_KBN = M1.HINBAN_K FROM (SELECT IMP_DATE, IMP_LN, " +
            hinbanClass +
            " HINBAN_K FROM TBL_ORDER) M1 WHERE TBL_ORDER.IMP_DATE = M1.IMP_DATE "
            "AND TBL_ORDER.IMP_LN = M1.IMP_LN AND TBL_ORDER.IMP_DATE = :d",
        "UPDATE TBL_ORDER SET SIZE_KEY = " + sizeKey + " WHERE TBL_ORDER.IMP_DATE = :d",
        "UPDATE TBL_ORDER SET BR_CD = MST_HINBANKUBUN.BR_CD FROM MST_HINBANKUBUN "
        "WHERE TBL_ORDER.HINBAN_KBN = MST_HINBANKUBUN.HINBAN_KBN AND TBL_ORDER.IMP_DATE = :d",
        "UPDATE TBL_ORDER SET BR_CD = 'OSTERA' WHERE TBL_ORDER.IMP_DATE = :d "
        "AND TBL_ORDER.BR_CD = ''",
        "UPDATE TBL_ORDER SET BR_NM = MST_BRAND.BR_NM FROM MST_BRAND "
        "WHERE TBL_ORDER.BR_CD = MST_BRAND.BR_CD AND TBL_ORDER.IMP_DATE = :d",
        "UPDATE TBL_ORDER SET FC_NM = MST_FACTORY.FC_NM, FC_RNM = MST_FACTORY.FC_RNM, "
        "GENSAN1 = MST_FACTORY.GENSAN FROM MST_FACTORY "
        "WHERE TBL_ORDER.FC_RG = MST_FACTORY.FC_RG AND TBL_ORDER.FC_CD = MST_FACTORY.FC_CD "
        "AND TBL_ORDER.IMP_DATE = :d",
    };
}

inline void enrich(Db &db, const QString &impDate)
{
    for (const QString &statement : enrichmentStatements())
        db.exec(statement, {{"d", impDate}});
}

// The file's records into the work table as read, then the three normalising statements and
// the numbering by group over the work table.
inline void fileImport(Db &db, const QByteArray &file, const QString &impDate, const QString &nen,
                       const QString &tuki, const QDate &today)
{
    using namespace OrderFileLayout;
    db.exec("DELETE FROM WRK_ORDER");
    QStringList columns{"IMP_DATE", "IMP_LN"};
    for (int i = 0; i < kFieldCount; ++i) {
        columns << kFields[size_t(i)].column;
        if (i == kLotNo)
            columns << "SEISAN_NEN"
                    << "SEISAN_TUKI";
    }
    BulkInserter bulk(db, "WRK_ORDER", columns);
    const OrderFileReader reader(file, today);
    OrderRecord r;
    for (int n = 1; n <= OrderFileReader::recordCount(file.size()); ++n) {
        if (!reader.read(n, r, nullptr))
            throw DbError("bad record", QString::number(n));
        QVariantList row{impDate, r.line};
        for (int i = 0; i < kFieldCount; ++i) {
            row << (i == kSu ? QVariant(r.quantity) : QVariant(r.fields[size_t(i)]));
            if (i == kLotNo)
                row << r.seisanNen << r.seisanTuki;
        }
        bulk.add(row);
    }
    bulk.finish();
    db.exec("UPDATE WRK_ORDER SET QUL_KEY = replace(QUL_KEY, ' ', '')");
    db.exec("UPDATE WRK_ORDER SET ORD_DATE = '20' || substr(ORD_DATE, 1, 2) || '/' || "
            "substr(ORD_DATE, 3, 2) || '/' || substr(ORD_DATE, 5, 2)");
    db.exec("UPDATE WRK_ORDER SET SET_DATE = '20' || substr(SET_DATE, 1, 2) || '/' || "
            "substr(SET_DATE, 3, 2) || '/' || substr(SET_DATE, 5, 2)");

    // Each factory's counter raised by its number of groups; groups numbered after the old
    // value in the order set date, name type, lot number.
    for (const QSqlRecord &f :
         db.rows("SELECT FC_RG, COUNT(*) FROM (SELECT DISTINCT FC_RG, SET_DATE, CAR_CD, LOT_NO "
                 "FROM WRK_ORDER) G GROUP BY FC_RG ORDER BY FC_RG")) {
        const QString fcRg = f.value(0).toString();
        const int groups = f.value(1).toInt();
        const int last = db.scalar("INSERT INTO SYS_KNR_NO(ORD_NEN, ORD_TUKI, FC_RG, KNR_NO) "
                                   "VALUES(:nen, :tuki, :fc, :n) ON CONFLICT (ORD_NEN, ORD_TUKI, "
                                   "FC_RG) DO UPDATE SET KNR_NO = SYS_KNR_NO.KNR_NO + "
                                   "excluded.KNR_NO RETURNING KNR_NO",
                                   {{"nen", nen}, {"tuki", tuki}, {"fc", fcRg}, {"n", groups}})
                             .toInt();
        // Three digits up to 999, then as many as the number has.
        db.exec("UPDATE WRK_ORDER SET KNR_NO = N.FC_RG || '-' || CASE WHEN N.KN < 1000 THEN "
                "substr(CAST(1000 + N.KN AS TEXT), 2, 3) ELSE CAST(N.KN AS TEXT) END FROM "
                "(SELECT IMP_DATE, IMP_LN, FC_RG, CAST(:base AS INTEGER) + DENSE_RANK() OVER "
                "(PARTITION BY FC_RG ORDER BY SET_DATE, CAR_CD, LOT_NO) KN FROM WRK_ORDER) N "
                "WHERE WRK_ORDER.IMP_DATE = N.IMP_DATE AND WRK_ORDER.IMP_LN = N.IMP_LN "
                "AND N.FC_RG = :fc",
                {{"base", last - groups}, {"fc", fcRg}});
    }
}

// The day's lines replaced by the work rows, with empty texts for what the enrichment fills,
// then the manufacturer on every line of the day.
inline void makeOrder(Db &db, const QString &impDate)
{
    QStringList columns;
    QStringList values;
    auto work = [&](const QString &c) {
        columns << c;
        values << "WRK_ORDER." + c;
    };
    auto constant = [&](const QString &c, const QString &v) {
        columns << c;
        values << v;
    };
    for (const char *c : {"IMP_DATE", "IMP_LN", "KNR_NO", "LOT_NO"})
        work(c);
    constant("ORD_NO", "''");
    work("FC_RG");
    work("FC_CD");
    constant("FC_NM", "''");
    work("ORD_DATE");
    work("SET_DATE");
    for (const char *c : {"BR_CD", "BR_NM", "HINBAN_KBN"})
        constant(c, "''");
    for (const char *c : {"HINBAN", "COL", "S_END", "S_TBL", "S_FLD", "ROW", "SCN", "SU", "LOT_SU",
                          "SEISAN_NEN", "SEISAN_TUKI"})
        work(c);
    for (const char *c : {"GENSAN1", "GENSAN2", "SEIZOUMOTO"})
        constant(c, "''");
    work("QUL_KEY");
    constant("JAN_KEY", "''");
    constant("SIZE_KEY", "WRK_ORDER.S_END || WRK_ORDER.S_TBL || WRK_ORDER.S_FLD || WRK_ORDER.ROW");
    constant("TAG_CD", "''");
    work("CAR_CD");
    constant("STK_CD", "''");
    constant("BTT_CD", "''");
    for (int i = 1; i <= 10; ++i)
        constant(QString("FLG%1").arg(i), "'0'");
    for (int i = 1; i <= 10; ++i)
        constant(QString("B%1").arg(i), "''");
    db.exec("DELETE FROM TBL_ORDER WHERE IMP_DATE = :d", {{"d", impDate}});
    db.exec("INSERT INTO TBL_ORDER(" + columns.join(',') + ") SELECT " + values.join(',') +
            " FROM WRK_ORDER");
    db.exec("UPDATE TBL_ORDER SET SEIZOUMOTO = :maker WHERE IMP_DATE = :d AND SEIZOUMOTO = ''",
            {{"d", impDate}, {"maker", manufacturerText()}});
}

} // namespace ReferenceIntake
