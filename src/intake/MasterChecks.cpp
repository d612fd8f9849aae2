#include "MasterChecks.h"

#include "AuditTrail.h"
#include "Db.h"
#include "Dialogs.h"
#include "OrderState.h"

namespace {

// One pass of a check: the day's lines (O) that the master (joined under an alias of the
// pass's own) does not answer, with their key columns, and the texts of their findings built
// from those columns (F) and the bound :e2 and :e3.
struct Pass {
    QStringList keyColumns; // over O, e.g. "O.FC_RG"
    QString join;           // LEFT JOIN of the master, or empty
    QString missing;        // condition of a finding
    QString err2;
    QString err3;
    QString e2;
    QString e3;
};

QList<Pass> brandPasses()
{
    return {{{QStringLiteral("O.HINBAN_KBN")},
             QStringLiteral("LEFT JOIN MST_HINBANKUBUN MH ON O.HINBAN_KBN = MH.HINBAN_KBN"),
             QStringLiteral("MH.HINBAN_KBN IS NULL"),
             QStringLiteral(":e2"),
             QStringLiteral(":e3 || F.HINBAN_KBN"),
             QStringLiteral("品番区分マスタに未登録です"),
             QStringLiteral("品番区分=")}};
}

QList<Pass> factoryPasses()
{
    return {{{QStringLiteral("O.FC_RG"), QStringLiteral("O.FC_CD")},
             QStringLiteral("LEFT JOIN MST_FACTORY MF ON O.FC_RG = MF.FC_RG "
                            "AND O.FC_CD = MF.FC_CD"),
             QStringLiteral("MF.FC_RG IS NULL"),
             QStringLiteral(":e2"),
             QStringLiteral(":e3 || F.FC_RG || ',工場コード=' || F.FC_CD"),
             QStringLiteral("工場マスタに未登録です"),
             QStringLiteral("工場略号=")}};
}

// A blank key is reported twice: as blank, then as a key the master lacks (unless the master
// has a row with the blank key).
QList<Pass> qualityPasses()
{
    return {{{QStringLiteral("O.QUL_KEY")},
             QString(),
             QStringLiteral("O.QUL_KEY = ''"),
             QStringLiteral(":e2"),
             QStringLiteral("''"),
             QStringLiteral("品質キーが空白です"),
             QString()},
            {{QStringLiteral("O.QUL_KEY")},
             QStringLiteral("LEFT JOIN MST_QUL MQ ON O.QUL_KEY = MQ.QUL_KEY"),
             QStringLiteral("MQ.QUL_KEY IS NULL"),
             QStringLiteral("F.QUL_KEY || :e2"),
             QStringLiteral("''"),
             QStringLiteral("が品質マスタ未登録です。"),
             QString()}};
}

QList<Pass> sizePasses()
{
    return {{{QStringLiteral("O.SIZE_KEY")},
             QStringLiteral("LEFT JOIN MST_SIZ MS ON O.SIZE_KEY = MS.SIZE_KEY"),
             QStringLiteral("MS.SIZE_KEY IS NULL"),
             QStringLiteral(":e2"),
             QStringLiteral(":e3 || F.SIZE_KEY"),
             QStringLiteral("サイズマスタに未登録です"),
             QStringLiteral("サイズキー=")}};
}

// The size class joins table, field and end code, in that order (unlike the size key).
QList<Pass> sizeRowPasses()
{
    const QString sizeClass = QStringLiteral("O.S_TBL || O.S_FLD || O.S_END");
    return {{{QStringLiteral("O.ROW"), sizeClass + QStringLiteral(" AS SIZE_KBN")},
             QStringLiteral("LEFT JOIN MST_TARVOLIN_SIZE MT ON O.ROW = MT.ROW AND ") + sizeClass +
                 QStringLiteral(" = MT.SIZE_KBN"),
             QStringLiteral("MT.ROW IS NULL"),
             QStringLiteral(":e2"),
             QStringLiteral(":e3 || F.ROW || ',サイズ区分=' || F.SIZE_KBN"),
             QStringLiteral("TARVOLINサイズマスタに未登録です"),
             QStringLiteral("ROW=")}};
}

QList<Pass> rowPasses()
{
    return {{{QStringLiteral("O.ROW")},
             QStringLiteral("LEFT JOIN MST_ROW MR ON O.ROW = MR.ROW"),
             QStringLiteral("MR.ROW IS NULL"),
             QStringLiteral(":e2"),
             QStringLiteral(":e3 || F.ROW"),
             QStringLiteral("ROWマスタに未登録です"),
             QStringLiteral("ROW=")}};
}

const QString kLineKeys = QStringLiteral("O.IMP_DATE, O.IMP_LN, O.KNR_NO");

// The lines a check looks at: the day's open lines.
QString checkedLines()
{
    return QStringLiteral(" WHERE O.IMP_DATE = :d AND ") +
           OrderState::openLines(QStringLiteral("O")) + QStringLiteral(" AND ");
}

// ERR_LN continues after the line's findings of the checks before.
QString findingInsert(const Pass &pass)
{
    const QString offending = QStringLiteral("SELECT ") + kLineKeys + QStringLiteral(", ") +
                              pass.keyColumns.join(QStringLiteral(", ")) +
                              QStringLiteral(" FROM TBL_ORDER O ") + pass.join + checkedLines() +
                              pass.missing;
    return QStringLiteral("INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3) "
                          "SELECT F.IMP_DATE, F.IMP_LN, "
                          "COALESCE((SELECT MAX(E.ERR_LN) FROM TBL_ERR E "
                          "WHERE E.IMP_DATE = F.IMP_DATE AND E.IMP_LN = F.IMP_LN), 0) + 1, "
                          "F.KNR_NO, ") +
           pass.err2 + QStringLiteral(", ") + pass.err3 + QStringLiteral(" FROM (") + offending +
           QStringLiteral(") F");
}

// A check's passes run together: a failure rolls back the check's own findings and shows the
// error; the checks before and after keep theirs.
Outcome runCheck(Db &db, Dialogs &dialogs, const QString &impDate, const QList<Pass> &passes)
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
        return Outcome::Failed;
    }
    return Outcome::Done;
}

} // namespace

Outcome checkBrands(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate, brandPasses());
}

Outcome checkFactories(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate, factoryPasses());
}

Outcome checkQualities(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate, qualityPasses());
}

Outcome checkSizes(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate, sizePasses());
}

Outcome checkSizeRows(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate, sizeRowPasses());
}

Outcome checkRows(Db &db, Dialogs &dialogs, const QString &impDate)
{
    return runCheck(db, dialogs, impDate, rowPasses());
}

QString linesWithFindingsSelect()
{
    QStringList joins;
    QStringList missing;
    for (const Pass &pass : brandPasses() + factoryPasses() + qualityPasses() + sizePasses() +
                                sizeRowPasses() + rowPasses()) {
        if (!pass.join.isEmpty() && !joins.contains(pass.join))
            joins << pass.join;
        missing << QLatin1Char('(') + pass.missing + QLatin1Char(')');
    }
    return QStringLiteral("SELECT O.IMP_LN FROM TBL_ORDER O ") + joins.join(QLatin1Char(' ')) +
           checkedLines() + QLatin1Char('(') + missing.join(QStringLiteral(" OR ")) +
           QLatin1Char(')');
}

void writeAllFindings(Db &db, const QString &impDate)
{
    const QList<Pass> passes = brandPasses() + factoryPasses() + qualityPasses() + sizePasses() +
                               sizeRowPasses() + rowPasses();
    // The day's lines with at least one finding, read once with every master beside them.
    QStringList columns{kLineKeys};
    QStringList joins;
    QStringList missing;
    QStringList findings;
    QVariantMap params{{QStringLiteral("d"), impDate}};
    for (int k = 1; k <= passes.size(); ++k) {
        const Pass &pass = passes.at(k - 1);
        for (const QString &key : pass.keyColumns)
            if (!columns.contains(key))
                columns << key;
        if (!pass.join.isEmpty() && !joins.contains(pass.join))
            joins << pass.join;
        missing << QLatin1Char('(') + pass.missing + QLatin1Char(')');
        columns << QStringLiteral("CASE WHEN %1 THEN 1 ELSE 0 END AS P%2").arg(pass.missing).arg(k);
        const QString e2 = QStringLiteral(":e2_%1").arg(k);
        const QString e3 = QStringLiteral(":e3_%1").arg(k);
        QString err2 = pass.err2;
        QString err3 = pass.err3;
        err2.replace(QLatin1String(":e2"), e2);
        err3.replace(QLatin1String(":e3"), e3);
        if (err2.contains(e2))
            params.insert(e2.mid(1), pass.e2);
        if (err3.contains(e3))
            params.insert(e3.mid(1), pass.e3);
        findings << QStringLiteral("SELECT %1 AS K, F.IMP_DATE, F.IMP_LN, F.KNR_NO, "
                                   "CAST(%2 AS TEXT) AS ERR2, CAST(%3 AS TEXT) AS ERR3 "
                                   "FROM F WHERE F.P%1 = 1")
                        .arg(k)
                        .arg(err2, err3);
    }
    // Each line's findings are numbered from 1 in check order.
    db.exec(QStringLiteral("WITH F AS MATERIALIZED (SELECT ") + columns.join(QStringLiteral(", ")) +
                QStringLiteral(" FROM TBL_ORDER O ") + joins.join(QLatin1Char(' ')) +
                checkedLines() + QLatin1Char('(') + missing.join(QStringLiteral(" OR ")) +
                QStringLiteral(")) INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, "
                               "ERR3) SELECT X.IMP_DATE, X.IMP_LN, ROW_NUMBER() OVER "
                               "(PARTITION BY X.IMP_DATE, X.IMP_LN ORDER BY X.K), X.KNR_NO, "
                               "X.ERR2, X.ERR3 FROM (") +
                findings.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(") X"),
            params);
}

void addFinding(Db &db, const QString &impDate, int impLn, const QString &err1, const QString &err2,
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

void markLinesWithFindings(Db &db, const QString &impDate, HistoryWrite *record)
{
    const QString hasFindings = QStringLiteral("EXISTS (SELECT 1 FROM TBL_ERR E WHERE "
                                               "E.IMP_DATE = TBL_ORDER.IMP_DATE AND "
                                               "E.IMP_LN = TBL_ORDER.IMP_LN)");
    const QString day = QStringLiteral("WHERE TBL_ORDER.IMP_DATE = :d AND ") +
                        OrderState::openLines(QStringLiteral("TBL_ORDER"));
    const QVariantMap params{{QStringLiteral("d"), impDate}};
    for (const auto &[mark, condition] :
         {std::pair{QStringLiteral("1"), hasFindings},
          std::pair{QStringLiteral("0"), QStringLiteral("NOT ") + hasFindings}}) {
        const QString lines = day + QStringLiteral(" AND TBL_ORDER.FLG1 <> '") + mark +
                              QStringLiteral("' AND ") + condition;
        if (record)
            AuditTrail(*record, AuditTrail::kCheck)
                .beforeChange(lines, params, QStringLiteral("FLG1"), mark);
        db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG1 = '") + mark + QStringLiteral("' ") +
                    lines,
                params);
    }
}

QString findingsListStatement()
{
    return QStringLiteral("Select * From TBL_ERR Where IMP_DATE = :d Order By IMP_LN, ERR_LN ");
}
