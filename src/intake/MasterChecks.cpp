#include "MasterChecks.h"

#include "Db.h"
#include "Dialogs.h"

namespace {

// One pass of a check: the day's offending lines (IMP_DATE, IMP_LN, KNR_NO and the key
// columns, as F) and the texts of their findings, built from the key columns.
struct Pass {
    QString offending; // SELECT ... WHERE <day> AND <no master row>
    QString err2;      // expression over F and the bound :e2
    QString err3;      // expression over F and the bound :e3
    QString e2;
    QString e3;
};

// ERR_LN continues after the line's findings of the checks before.
QString findingInsert(const Pass &pass)
{
    return QStringLiteral("INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3) "
                          "SELECT F.IMP_DATE, F.IMP_LN, "
                          "COALESCE((SELECT MAX(E.ERR_LN) FROM TBL_ERR E "
                          "WHERE E.IMP_DATE = F.IMP_DATE AND E.IMP_LN = F.IMP_LN), 0) + 1, "
                          "F.KNR_NO, ") +
           pass.err2 + QStringLiteral(", ") + pass.err3 + QStringLiteral(" FROM (") +
           pass.offending + QStringLiteral(") F");
}

// A check's passes run together: a failure rolls back the check's own findings and shows the
// error; the checks before and after keep theirs.
bool runCheck(Db &db, Dialogs &dialogs, const QString &impDate, const QList<Pass> &passes)
{
    try {
        Transaction check(db);
        for (const Pass &pass : passes) {
            QVariantMap params{{QStringLiteral("d"), impDate}};
            if (pass.err2.contains(QLatin1String(":e2")))
                params.insert(QStringLiteral("e2"), pass.e2);
            if (pass.err3.contains(QLatin1String(":e3")))
                params.insert(QStringLiteral("e3"), pass.e3);
            db.exec(findingInsert(pass), params);
        }
        check.commit();
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return true;
    }
    return false;
}

QString lines(const QString &keyColumns, const QString &join, const QString &missing)
{
    return QStringLiteral("SELECT O.IMP_DATE, O.IMP_LN, O.KNR_NO, ") + keyColumns +
           QStringLiteral(" FROM TBL_ORDER O ") + join +
           QStringLiteral(" WHERE O.IMP_DATE = :d AND ") + missing;
}

} // namespace

bool MF_BrandCheck(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(
        db, dialogs, impDate,
        {{lines(QStringLiteral("O.HINBAN_KBN"),
                QStringLiteral("LEFT JOIN MST_HINBANKUBUN M ON O.HINBAN_KBN = M.HINBAN_KBN"),
                QStringLiteral("M.HINBAN_KBN IS NULL")),
          QStringLiteral(":e2"), QStringLiteral(":e3 || F.HINBAN_KBN"),
          QStringLiteral("品番区分マスタに未登録です"), QStringLiteral("品番区分=")}});
}

bool MF_FactoryCheck(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(
        db, dialogs, impDate,
        {{lines(QStringLiteral("O.FC_RG, O.FC_CD"),
                QStringLiteral("LEFT JOIN MST_FACTORY M ON O.FC_RG = M.FC_RG "
                               "AND O.FC_CD = M.FC_CD"),
                QStringLiteral("M.FC_RG IS NULL")),
          QStringLiteral(":e2"), QStringLiteral(":e3 || F.FC_RG || ',工場コード=' || F.FC_CD"),
          QStringLiteral("工場マスタに未登録です"), QStringLiteral("工場略号=")}});
}

bool MF_QualityCheck(Db &db, Dialogs &dialogs, const QString &impDate)
{
    // A blank key is reported twice: as blank, then as a key the master lacks (unless the
    // master has a row with the blank key).
    return runCheck(
        db, dialogs, impDate,
        {{lines(QStringLiteral("O.QUL_KEY"), QString(), QStringLiteral("O.QUL_KEY = ''")),
          QStringLiteral(":e2"), QStringLiteral("''"), QStringLiteral("品質キーが空白です"),
          QString()},
         {lines(QStringLiteral("O.QUL_KEY"),
                QStringLiteral("LEFT JOIN MST_QUL M ON O.QUL_KEY = M.QUL_KEY"),
                QStringLiteral("M.QUL_KEY IS NULL")),
          QStringLiteral("F.QUL_KEY || :e2"), QStringLiteral("''"),
          QStringLiteral("が品質マスタ未登録です。"), QString()}});
}

bool MF_SizeCheck(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate,
                    {{lines(QStringLiteral("O.SIZE_KEY"),
                            QStringLiteral("LEFT JOIN MST_SIZ M ON O.SIZE_KEY = M.SIZE_KEY"),
                            QStringLiteral("M.SIZE_KEY IS NULL")),
                      QStringLiteral(":e2"), QStringLiteral(":e3 || F.SIZE_KEY"),
                      QStringLiteral("サイズマスタに未登録です"), QStringLiteral("サイズキー=")}});
}

bool MF_SizeRowCheck(Db &db, Dialogs &dialogs, const QString &impDate)
{
    // The size class joins table, field and end code, in that order (unlike the size key).
    const QString sizeClass = QStringLiteral("O.S_TBL || O.S_FLD || O.S_END");
    return runCheck(
        db, dialogs, impDate,
        {{lines(QStringLiteral("O.ROW, ") + sizeClass + QStringLiteral(" AS SIZE_KBN"),
                QStringLiteral("LEFT JOIN MST_TARVOLIN_SIZE M ON O.ROW = M.ROW AND ") + sizeClass +
                    QStringLiteral(" = M.SIZE_KBN"),
                QStringLiteral("M.ROW IS NULL")),
          QStringLiteral(":e2"), QStringLiteral(":e3 || F.ROW || ',サイズ区分=' || F.SIZE_KBN"),
          QStringLiteral("TARVOLINサイズマスタに未登録です"), QStringLiteral("ROW=")}});
}

bool MF_RowCheck(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(
        db, dialogs, impDate,
        {{lines(QStringLiteral("O.ROW"), QStringLiteral("LEFT JOIN MST_ROW M ON O.ROW = M.ROW"),
                QStringLiteral("M.ROW IS NULL")),
          QStringLiteral(":e2"), QStringLiteral(":e3 || F.ROW"),
          QStringLiteral("ROWマスタに未登録です"), QStringLiteral("ROW=")}});
}

void MP_ErrAdd(Db &db, const QString &impDate, int impLn, const QString &err1, const QString &err2,
               const QString &err3)
{
    const QVariantMap line{{QStringLiteral("d"), impDate}, {QStringLiteral("ln"), impLn}};
    const int last = db.scalar(QStringLiteral("SELECT MAX(ERR_LN) FROM TBL_ERR "
                                              "WHERE IMP_DATE = :d AND IMP_LN = :ln"),
                               line)
                         .toInt(); // a line without findings has NULL, which counts as 0
    QVariantMap row = line;
    row.insert(QStringLiteral("n"), last + 1);
    row.insert(QStringLiteral("e1"), err1);
    row.insert(QStringLiteral("e2"), err2);
    row.insert(QStringLiteral("e3"), err3);
    db.exec(QStringLiteral("INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3) "
                           "VALUES(:d, :ln, :n, :e1, :e2, :e3)"),
            row);
}

void markLinesWithFindings(Db &db, const QString &impDate)
{
    db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG1 = '1' "
                           "WHERE TBL_ORDER.IMP_DATE = :d AND TBL_ORDER.FLG1 <> '1' "
                           "AND EXISTS (SELECT 1 FROM TBL_ERR E WHERE E.IMP_DATE = "
                           "TBL_ORDER.IMP_DATE AND E.IMP_LN = TBL_ORDER.IMP_LN)"),
            {{QStringLiteral("d"), impDate}});
}
