// The condition of the find dialog (検索): the operator's criteria turned into the current
// order condition, which the edit grid, the bulk update and the history reuse. Criteria are
// looked at in a fixed order and the first refusal wins, so the operator always sees the same
// message for the same input.
//
// Every typed value is a bound parameter of the condition ("And FC_RG = :oc2 "), so an
// apostrophe finds itself instead of breaking the statement.
#pragma once

#include "OrderCondition.h"

#include <QString>
#include <QStringList>

// Lines with or without findings of the error check (エラー): FLG1 other than '0' or '0', the
// same split the conversion makes when it leaves lines with findings out.
enum class Findings { Any, With, Without };

// What the operator typed, as typed (not trimmed); an empty text is a criterion not given.
struct OrderFindCriteria {
    QString impDate;            // 処理日 (importDateEdit)
    QString fcRg;               // 工場略号
    QString flg5;               // 特定変換
    QString carCd;              // ネーム種
    QString setDate1, setDate2; // セット日 from, to
    QString hinban;             // 品番
    QString knrNo;              // 管理No
    QString lotNo;              // LotNo
    QString qulKey;             // 品質Key
    QString lotSu1, lotSu2;     // Lot数 from, to
    QString lotAvg1, lotAvg2;   // Lot平均数 from, to
    QString printer;            // 印字機種; unassignedPrinter() selects the lines without one
    Findings findings = Findings::Any; // エラー
};

struct OrderFindResult {
    OrderCondition condition; // empty after a refusal
    QString refusal;          // the message of the first rule that failed
    bool ok() const { return refusal.isEmpty(); }
};

class OrderFindCondition {
public:
    // The day's lines that are neither converted nor confirmed (IMP_DATE bound, FLG3 = '0',
    // FLG4 = '0').
    static OrderCondition start(const QString &impDate);
    // The whole condition, or the refusal of the first criterion that breaks a rule.
    static OrderFindResult build(const OrderFindCriteria &criteria);
    // The printer criterion that selects the lines no printer was set on yet (PRINTER = ''):
    // after a subset was given its printer, "the rest of the day" is found with it.
    static QString unassignedPrinter();
    // The texts of the findings choice: "" (any), "有り", "無し".
    static QStringList findingsChoices();
    static Findings findingsOf(const QString &choice);

private:
    OrderFindCondition() = default;
};
