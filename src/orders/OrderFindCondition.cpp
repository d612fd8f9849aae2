#include "OrderFindCondition.h"

#include "Db.h"
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

// "And FC_RG Like 'A%' " with a "%", "And FC_RG = 'AB' " without. PostgreSQL reads a backslash
// in a Like pattern as its escape (and refuses one at the end), SQLite as an ordinary character:
// a pattern with a backslash names it as the escape and doubles its own, so that a typed
// backslash matches itself on both.
QString exactOrLike(const QString &column, const QString &v)
{
    if (!v.contains(kPercent))
        return QStringLiteral("And ") + column + QStringLiteral(" = ") + Db::quote(v) +
               QLatin1Char(' ');
    if (!v.contains(QLatin1Char('\\')))
        return QStringLiteral("And ") + column + QStringLiteral(" Like ") + Db::quote(v) +
               QLatin1Char(' ');
    QString pattern = v;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QStringLiteral("And ") + column + QStringLiteral(" Like ") + Db::quote(pattern) +
           QStringLiteral(" Escape '\\' ");
}

QString equal(const QString &column, const QString &v)
{
    return QStringLiteral("And ") + column + QStringLiteral(" = ") + Db::quote(v) +
           QLatin1Char(' ');
}

// Both bounds: one Between term; one bound: ">=" or "<=" alone.
QString range(const QString &column, const QString &a, const QString &b,
              QString (*literal)(const QString &))
{
    if (given(a) && given(b))
        return QStringLiteral("And ") + column + QStringLiteral(" Between ") + literal(a) +
               QStringLiteral(" And ") + literal(b) + QLatin1Char(' ');
    QString terms;
    if (given(a))
        terms += QStringLiteral("And ") + column + QStringLiteral(" >= ") + literal(a) +
                 QLatin1Char(' ');
    if (given(b))
        terms += QStringLiteral("And ") + column + QStringLiteral(" <= ") + literal(b) +
                 QLatin1Char(' ');
    return terms;
}

QString quotedDate(const QString &v)
{
    return Db::quote(normalizeDateText(v));
}

// Lot counts are written between quotes as typed ('12'), which both engines read as a whole
// number. A number PostgreSQL cannot read as INTEGER inside quotes ("1.5", or one too large)
// would fail the refill after the dialog has already closed, so it goes in bare: the text has
// passed isNumericText, so it holds nothing but blanks, a sign, digits and one point.
QString numberLiteral(const QString &v)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    if (wholeNumber.match(v).hasMatch()) {
        bool ok = false;
        const qlonglong n = v.trimmed().toLongLong(&ok);
        if (ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return Db::quote(v);
    }
    return v.trimmed();
}

struct Refusal {
    QString text;
};

std::optional<Refusal> specialConversion(const QString &v, QString &c)
{
    if (!given(v))
        return std::nullopt;
    if (v.contains(kPercent))
        return Refusal{QStringLiteral("特定変換でライク検索は出来ません。")};
    if (v != QLatin1String("0") && v != QLatin1String("1"))
        return Refusal{QStringLiteral("特定変換では'0'か'1'を指定してください。")};
    c += equal(QStringLiteral("FLG5"), v);
    return std::nullopt;
}

std::optional<Refusal> nameType(const QString &v, QString &c)
{
    if (!given(v))
        return std::nullopt;
    if (v.contains(kPercent))
        return Refusal{QStringLiteral("ネーム種でライク検索は出来ません。")};
    c += equal(QStringLiteral("CAR_CD"), v);
    return std::nullopt;
}

std::optional<Refusal> setDates(const QString &a, const QString &b, QString &c)
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
    c += range(QStringLiteral("SET_DATE"), a, b, quotedDate);
    return std::nullopt;
}

// Lot数 and Lot平均数: the message for a bad upper bound ends in two full stops, the one for
// the lower bound in one, so the operator can tell which of the two was wrong.
std::optional<Refusal> numberRange(const QString &column, const QString &name, const QString &a,
                                   const QString &b, QString &c)
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
    c += range(column, a, b, numberLiteral);
    return std::nullopt;
}

} // namespace

QString OrderFindCondition::start(const QString &impDate)
{
    return QStringLiteral("Where IMP_DATE = ") + Db::quote(impDate) +
           QStringLiteral(" And FLG3 = '0' And FLG4 = '0' ");
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
    QString c = start(f.impDate);
    if (given(f.fcRg))
        c += exactOrLike(QStringLiteral("FC_RG"), f.fcRg);
    std::optional<Refusal> refusal = specialConversion(f.flg5, c);
    if (!refusal)
        refusal = nameType(f.carCd, c);
    if (!refusal)
        refusal = setDates(f.setDate1, f.setDate2, c);
    if (!refusal) {
        if (given(f.hinban))
            c += exactOrLike(QStringLiteral("HINBAN"), f.hinban);
        if (given(f.knrNo))
            c += exactOrLike(QStringLiteral("KNR_NO"), f.knrNo);
        if (given(f.lotNo))
            c += exactOrLike(QStringLiteral("LOT_NO"), f.lotNo);
        if (given(f.qulKey))
            c += exactOrLike(QStringLiteral("QUL_KEY"), f.qulKey);
        refusal = numberRange(QStringLiteral("LOT_SU"), QStringLiteral("ロット数"), f.lotSu1,
                              f.lotSu2, c);
    }
    if (!refusal)
        refusal = numberRange(QStringLiteral("LOT_AVG"), QStringLiteral("ロット平均数"), f.lotAvg1,
                              f.lotAvg2, c);
    if (!refusal) {
        if (f.printer == unassignedPrinter())
            c += QStringLiteral("And PRINTER = '' ");
        else if (given(f.printer))
            c += exactOrLike(QStringLiteral("PRINTER"), f.printer);
        if (f.findings == Findings::With)
            c += QStringLiteral("And FLG1 <> '0' ");
        else if (f.findings == Findings::Without)
            c += QStringLiteral("And FLG1 = '0' ");
    }
    if (refusal)
        return {QString(), refusal->text};
    return {c, QString()};
}
