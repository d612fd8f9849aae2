// The condition of the find dialog (検索): the operator's criteria turned into the current
// order condition gWhere, which the edit grid, the bulk update, the conversion and the
// confirmation all reuse. Criteria are looked at in a fixed order and the first refusal wins,
// so the operator always sees the same message for the same input.
//
// Every typed value travels through Db::quote: for ordinary values the condition reads exactly
// as the desk has always written it ("And FC_RG = 'AB' "), and an apostrophe finds itself
// instead of breaking the statement.
#pragma once

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
    QString condition; // "Where ... " (ends with a blank); empty after a refusal
    QString refusal;   // the message of the first rule that failed
    bool ok() const { return refusal.isEmpty(); }
};

class OrderFindCondition {
public:
    // "Where IMP_DATE = '20261208' And FLG3 = '0' And FLG4 = '0' ": the day's lines that are
    // neither converted nor confirmed.
    static QString start(const QString &impDate);
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
