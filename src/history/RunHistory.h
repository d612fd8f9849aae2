// The run history (TBL_RUN, TBL_RUN_FILE, TBL_RUN_RPT): the conversion, its cancel and the
// confirmation call in here inside their own transactions, at the points where they change
// the lines, so that the run's record and the audit entries of its lines go with the change.
// A history that cannot be written (an older installation without its tables) is reported
// once and the conversion, cancel or confirmation goes on.
#pragma once

#include "HistoryWrite.h"
#include "OrderCondition.h"
#include "RunRecord.h"

#include <QString>

class Db;
class Dialogs;

class RunHistory {
public:
    static const QString kConverted; // 変換済
    static const QString kCancelled; // 取消
    static const QString kConfirmed; // 確定

    explicit RunHistory(Db &db, Dialogs *dialogs = nullptr,
                        HistoryOperator who = HistoryOperator::fromGlobals());

    // Conversion, before its stamp statement: the FLG3 and B1 the marked lines (FLG2 = '1')
    // are about to get; one entry of the run when WRK_RPT holds exactly its lines.
    void beforeStamp(const QString &impDate, const QString &stamp);
    // Conversion, once the lines are stamped: the run (state 変換済, by this operator on this
    // workstation), its files and its report rows as WRK_RPT holds them now.
    void recordRun(RunRecord run);
    // Cancel, before its statement: the lines of the run give back FLG3 and B1 (one entry
    // when they are the lines the run kept); the run becomes 取消.
    void beforeCancel(const QString &impDate, const QString &stamp);
    // Confirmation, before its statement: FLG4 and B2 of the lines of condition (one entry
    // when no line holds a B2 yet); the day's converted runs become 確定.
    void beforeConfirm(const QString &impDate, const OrderCondition &condition,
                       const QString &stamp);

    // A stamp that no recorded run of the day has: candidate, or one second after the latest
    // recorded run when a cancelled run already holds it (its lines no longer show it).
    static QString unusedStamp(Db &db, const QString &impDate, const QString &candidate);

private:
    // The first count of the row sql gives when every count of the row equals it (the lines
    // one entry can stand for); 0 when they differ or the counts cannot be read.
    int linesOfOneEntry(const QString &sql, const QVariantMap &params);
    void setState(const QString &condition, const QVariantMap &params, const QString &state);

    HistoryWrite m_write;
};
