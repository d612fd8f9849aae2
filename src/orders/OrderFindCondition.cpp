#include "OrderFindCondition.h"

#include "ImportDates.h"
#include "OrderState.h"
#include "Utilities.h"

#include <QRegularExpression>

#include <limits>
#include <optional>

namespace {

const QString kPercent = QStringLiteral("%");

bool given(const QString &v)
{
    return !v.isEmpty();
}

// "FC_RG Like :oc2" with a "%", "FC_RG = :oc2" without. PostgreSQL reads a backslash in a Like
// pattern as its escape (and refuses one at the end), SQLite as an ordinary character: a
// pattern with a backslash names it as the escape and doubles its own, so that a typed
// backslash matches itself on both.
void exactOrLike(OrderCondition &c, const QString &column, const QString &v)
{
    if (!v.contains(kPercent)) {
        c.add(column + QStringLiteral(" = "), v);
        return;
    }
    if (!v.contains(QLatin1Char('\\'))) {
        c.add(column + QStringLiteral(" Like "), v);
        return;
    }
    QString pattern = v;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    c.add(column + QStringLiteral(" Like "), pattern, QStringLiteral(" Escape '\\'"));
}

void equal(OrderCondition &c, const QString &column, const QString &v)
{
    c.add(column + QStringLiteral(" = "), v);
}

// A bound operand: a placeholder for the typed value, or an expression around one.
using Operand = QString (*)(OrderCondition &, const QString &);

// Both bounds: one Between term; one bound: ">=" or "<=" alone.
void range(OrderCondition &c, const QString &column, const QString &a, const QString &b,
           Operand operand)
{
    if (given(a) && given(b)) {
        const QString low = operand(c, a);
        const QString high = operand(c, b);
        c.add(column + QStringLiteral(" Between ") + low + QStringLiteral(" And ") + high);
        return;
    }
    if (given(a))
        c.add(column + QStringLiteral(" >= ") + operand(c, a));
    if (given(b))
        c.add(column + QStringLiteral(" <= ") + operand(c, b));
}

QString dateOperand(OrderCondition &c, const QString &v)
{
    return c.bind(normalizeDateText(v));
}

// Lot counts are bound as typed ('12'), which both engines read as a whole number against an
// INTEGER column. A number PostgreSQL cannot read as INTEGER ("1.5", or one too large) would
// fail the refill after the dialog has already closed, so it is compared as NUMERIC: the text
// has passed isNumericText, so it holds nothing but blanks, a sign, digits and one point.
QString numberOperand(OrderCondition &c, const QString &v)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    if (wholeNumber.match(v).hasMatch()) {
        bool ok = false;
        const qlonglong n = v.trimmed().toLongLong(&ok);
        if (ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return c.bind(v);
    }
    return QStringLiteral("CAST(") + c.bind(v.trimmed()) + QStringLiteral(" AS NUMERIC)");
}

struct Refusal {
    QString text;
};

std::optional<Refusal> specialConversion(const QString &v, OrderCondition &c)
{
    if (!given(v))
        return std::nullopt;
    if (v.contains(kPercent))
        return Refusal{QStringLiteral("特定変換でライク検索は出来ません。")};
    if (v != QLatin1String("0") && v != QLatin1String("1"))
        return Refusal{QStringLiteral("特定変換では'0'か'1'を指定してください。")};
    equal(c, QStringLiteral("FLG5"), v);
    return std::nullopt;
}

std::optional<Refusal> nameType(const QString &v, OrderCondition &c)
{
    if (!given(v))
        return std::nullopt;
    if (v.contains(kPercent))
        return Refusal{QStringLiteral("ネーム種でライク検索は出来ません。")};
    equal(c, QStringLiteral("CAR_CD"), v);
    return std::nullopt;
}

std::optional<Refusal> setDates(const QString &a, const QString &b, OrderCondition &c)
{
    if (!given(a) && !given(b))
        return std::nullopt;
    if (a.contains(kPercent) || b.contains(kPercent))
        return Refusal{QStringLiteral("セット日でライク検索は出来ません。")};
    const QString notADate = QStringLiteral("セット日に入力された値が日付型でないです。");
    if ((given(a) && !isDateText(a)) || (given(b) && !isDateText(b)))
        return Refusal{notADate};
    // Stored set dates are yyyy/mm/dd and compare as text, so a date typed as 2026/12/9
    // is written as 2026/12/09 before it reaches the condition.
    range(c, QStringLiteral("SET_DATE"), a, b, dateOperand);
    return std::nullopt;
}

// Lot数 and Lot平均数: the message for a bad upper bound ends in two full stops, the one for
// the lower bound in one, so the operator can tell which of the two was wrong.
std::optional<Refusal> numberRange(const QString &column, const QString &name, const QString &a,
                                   const QString &b, OrderCondition &c)
{
    if (!given(a) && !given(b))
        return std::nullopt;
    if (a.contains(kPercent) || b.contains(kPercent))
        return Refusal{name + QStringLiteral("でライク検索は出来ません。")};
    const QString notANumber = name + QStringLiteral("に入力された値が数値型でないです。");
    if (given(a) && !isNumericText(a))
        return Refusal{notANumber};
    if (given(b) && !isNumericText(b))
        return Refusal{notANumber + QStringLiteral("。")};
    range(c, column, a, b, numberOperand);
    return std::nullopt;
}

} // namespace

OrderCondition OrderFindCondition::start(const QString &impDate)
{
    return ImportDates::whereFor(impDate);
}

QString OrderFindCondition::unassignedPrinter()
{
    return QStringLiteral("未設定");
}

QStringList OrderFindCondition::findingsChoices()
{
    return {QString(), QStringLiteral("有り"), QStringLiteral("無し")};
}

Findings OrderFindCondition::findingsOf(const QString &choice)
{
    const QStringList choices = findingsChoices();
    if (choice == choices.at(1))
        return Findings::With;
    if (choice == choices.at(2))
        return Findings::Without;
    return Findings::Any;
}

OrderFindResult OrderFindCondition::build(const OrderFindCriteria &f)
{
    OrderCondition c = start(f.impDate);
    if (given(f.fcRg))
        exactOrLike(c, QStringLiteral("FC_RG"), f.fcRg);
    std::optional<Refusal> refusal = specialConversion(f.flg5, c);
    if (!refusal)
        refusal = nameType(f.carCd, c);
    if (!refusal)
        refusal = setDates(f.setDate1, f.setDate2, c);
    if (!refusal) {
        if (given(f.hinban))
            exactOrLike(c, QStringLiteral("HINBAN"), f.hinban);
        if (given(f.knrNo))
            exactOrLike(c, QStringLiteral("KNR_NO"), f.knrNo);
        if (given(f.lotNo))
            exactOrLike(c, QStringLiteral("LOT_NO"), f.lotNo);
        if (given(f.qulKey))
            exactOrLike(c, QStringLiteral("QUL_KEY"), f.qulKey);
        refusal = numberRange(QStringLiteral("LOT_SU"), QStringLiteral("ロット数"), f.lotSu1,
                              f.lotSu2, c);
    }
    if (!refusal)
        refusal = numberRange(QStringLiteral("LOT_AVG"), QStringLiteral("ロット平均数"), f.lotAvg1,
                              f.lotAvg2, c);
    if (!refusal) {
        if (f.printer == unassignedPrinter())
            c.add(QStringLiteral("PRINTER = ''"));
        else if (given(f.printer))
            exactOrLike(c, QStringLiteral("PRINTER"), f.printer);
        if (f.findings == Findings::With)
            c.add(OrderState::withFindings());
        else if (f.findings == Findings::Without)
            c.add(OrderState::withoutFindings());
    }
    if (refusal)
        return {OrderCondition(), refusal->text};
    return {c, QString()};
}
