// The audit trail of the order lines (TBL_ORDER_LOG): every change to a line — a cell edited
// in the grid, a bulk update, a delete, a conversion, its cancel, a confirmation — with who,
// when, which line and column, and the values before and after. The entries are written
// through the operation's HistoryWrite, inside the transaction of the change, so a change
// that is refused or rolled back leaves no entry; only columns that really change are logged.
//
// A conversion, its cancel and a confirmation change thousands of lines the same way; each is
// kept as one entry of the day that names its lines through their stamp (a run's lines in
// TBL_RUN_RPT, a confirmation's by B2), and entries() shows it on each of those lines as the
// two changes it made there.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class Db;
class HistoryWrite;

struct AuditEntry {
    QString at;       // TIME_STAMP
    QString user;     // USER_NM
    QString computer; // COMPUTER_NM
    QString kind;     // CHANGE_KBN
    QString column;   // COL_NM ('*': the line was deleted)
    QString oldValue;
    QString newValue;
};

class AuditTrail {
public:
    // What changed the lines (CHANGE_KBN).
    static const QString kEdit;        // 修正: a cell edited in the grid
    static const QString kBulkUpdate;  // 一括更新
    static const QString kDelete;      // 削除
    static const QString kConversion;  // 変換
    static const QString kCancel;      // 変換取消
    static const QString kConfirm;     // 確定
    static const QString kAllDelete;   // 全削除: every line, from the import screen
    static const QString kEnrichment;  // マスタ参照: values completed again from the masters
    static const QString kCheck;       // エラーチェック: the error mark set or cleared
    static const QString kDeletedLine; // "*", the column of a deleted line

    AuditTrail(HistoryWrite &write, QString kind) : m_write(write), m_kind(std::move(kind)) {}

    // Before `UPDATE TBL_ORDER SET column = newValue <condition>`: one entry per line of the
    // condition ("Where ...", with its own params) whose column does not already hold the
    // value. Set-based, so a day of lines costs one statement.
    void beforeChange(const QString &condition, const QVariantMap &params, const QString &column,
                      const QString &newValue);
    // Before one line is updated only while it still holds read (the line's values as the
    // screen read them, IMP_DATE and IMP_LN among them): the columns of changes whose value
    // differs from what was read.
    void lineChanged(const QVariantMap &read, const QVariantMap &changes);
    // Before TBL_ORDER takes the values of `source`, a table of IMP_DATE, IMP_LN and, for each
    // of columns, the new value under the column's name and the present one under OLD_ +
    // name: one entry per line and column whose value changes. Set-based.
    void beforeTakingValues(const QString &source, const QStringList &columns);
    // Before a line is deleted (read holds its IMP_DATE and IMP_LN): its key, column '*' and
    // the whole line as it is now, as compact text.
    void beforeDelete(const QVariantMap &read);
    // Before every line is deleted at once: one entry per line, column '*', with the line's
    // control number (the whole line of a shop's years would double the trail). Set-based.
    void beforeDeleteAll();
    // A conversion, its cancel or a confirmation of impDate that changed `lines` lines in the
    // same way: the stamp column (B1 or B2) from oldValue to newValue, and the flag of the
    // kind (FLG3 or FLG4). One entry; the caller writes it only when the lines it changed are
    // exactly the ones the stamp names (the run's lines in TBL_RUN_RPT, or the day's lines
    // holding that B2), and the per-line entries otherwise.
    void runChange(const QString &impDate, const QString &column, const QString &oldValue,
                   const QString &newValue, int lines);

    // The entries of one line, oldest first, those of the run changes that took it among
    // them. Throws DbError.
    static QList<AuditEntry> entries(Db &db, const QString &impDate, const QVariant &impLn);
    // The edit screen's caption of a column ("SU" -> "数量"); the name itself when it has none.
    static QString caption(const QString &column);
    // The line as the delete entry keeps it: {"COLUMN":"value",...} of its non-empty columns.
    static QString compactLine(const QVariantMap &line);

private:
    // Entries of lines: each row of select gives IMP_DATE, IMP_LN, OLD_VALUE, NEW_VALUE.
    void insertEntries(const QString &select, const QString &from, const QVariantMap &params,
                       const QString &column);

    HistoryWrite &m_write;
    QString m_kind;
};
