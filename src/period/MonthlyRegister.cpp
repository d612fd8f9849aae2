#include "MonthlyRegister.h"

#include "Db.h"
#include "Dialogs.h"

#include <QRegularExpression>

namespace {
QVariantMap monthParams(const QString &nen, const QString &tuki)
{
    return {{QStringLiteral("nen"), nen}, {QStringLiteral("tuki"), tuki}};
}

QString alreadyCreatedMessage(const QString &nen, const QString &tuki)
{
    return nen + QStringLiteral("年") + tuki +
           QStringLiteral("月の月次業務は既に作成されています。");
}

QString textOf(const QSqlRecord &record, const QString &name)
{
    return record.value(record.indexOf(name)).toString();
}
} // namespace

QString MonthlyRegister::invalidMessage()
{
    return QStringLiteral("不正です。");
}

QString MonthlyRegister::oneOpenMonthMessage()
{
    return QStringLiteral(
        "確定されていない月次業務が存在します。\n月次業務は一つだけ有効に出来ます。");
}

QString MonthlyRegister::normalisedDigits(const QString &typed)
{
    return typed.normalized(QString::NormalizationForm_KC).trimmed();
}

bool MonthlyRegister::isAcceptableNewMonth(const QString &nen, const QString &tuki)
{
    // Whole numbers only: a year of 2004.5 or a month of 012 would be stored as typed.
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}$"));
    static const QRegularExpression month(QStringLiteral("^[0-9]{1,2}$"));
    if (!year.match(nen).hasMatch() || !month.match(tuki).hasMatch())
        return false;
    const int y = nen.toInt();
    const int m = tuki.toInt();
    return y >= 2003 && y <= 2099 && m >= 1 && m <= 12;
}

QList<BusinessMonth> MonthlyRegister::months()
{
    QList<BusinessMonth> result;
    const auto rows = m_db.rows(
        QStringLiteral("SELECT NEN, TUKI, KAKUTEI_FLG FROM SYS_TUKI ORDER BY NEN DESC, TUKI DESC"));
    for (const QSqlRecord &row : rows)
        result.append({textOf(row, QStringLiteral("NEN")), textOf(row, QStringLiteral("TUKI")),
                       textOf(row, QStringLiteral("KAKUTEI_FLG"))});
    return result;
}

bool MonthlyRegister::anotherMonthOpen()
{
    return m_db.exists(QStringLiteral("SELECT 1 FROM SYS_TUKI WHERE KAKUTEI_FLG = '0'"));
}

bool MonthlyRegister::monthExists(const QString &nen, const QString &tuki)
{
    return m_db.exists(QStringLiteral("SELECT 1 FROM SYS_TUKI WHERE NEN = :nen AND TUKI = :tuki"),
                       monthParams(nen, tuki));
}

bool MonthlyRegister::acceptNewMonthInput(Dialogs &dialogs, QString &nen, QString &tuki)
{
    nen = normalisedDigits(nen);
    tuki = normalisedDigits(tuki);
    if (!isAcceptableNewMonth(nen, tuki)) {
        dialogs.message(invalidMessage(), Icon::Error);
        return false;
    }
    if (tuki.size() == 1)
        tuki.prepend(QLatin1Char('0'));
    return true;
}

bool MonthlyRegister::hasMonthInput(Dialogs &dialogs, const QString &nen, const QString &tuki)
{
    if (nen.isEmpty() || tuki.isEmpty()) {
        dialogs.beep();
        return false;
    }
    return true;
}

Outcome MonthlyRegister::createMonth(QString &nen, QString &tuki)
{
    if (!acceptNewMonthInput(m_dialogs, nen, tuki))
        return Outcome::Refused;
    // What refuses the month whatever the answers is said before the questions, so that the
    // operator does not agree twice to be refused.
    if (anotherMonthOpen()) {
        m_dialogs.message(oneOpenMonthMessage(), Icon::Error);
        return Outcome::Refused;
    }
    // A confirmed month of the same year and month is already in the register.
    if (monthExists(nen, tuki)) {
        m_dialogs.message(alreadyCreatedMessage(nen, tuki), Icon::Error);
        return Outcome::Refused;
    }

    if (!m_dialogs.ask(nen + QStringLiteral("年") + tuki +
                           QStringLiteral("月の月次業務を新規作成します。"),
                       Icon::Question))
        return Outcome::Declined;
    const QDate first(nen.toInt(), tuki.toInt(), 1);
    if (m_today >= first &&
        !m_dialogs.ask(
            QStringLiteral("入力された値は本日の日付より古いです。\nそれでも新規作成しますか？"),
            Icon::Error, QString(), /*defaultNo*/ true))
        return Outcome::Declined;

    // The condition repeats the check so that a second workstation that opened a month while
    // the questions were open is not joined by another open month.
    const int inserted = m_db.exec(
        QStringLiteral("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) SELECT :nen, :tuki, '0' "
                       "WHERE NOT EXISTS (SELECT 1 FROM SYS_TUKI WHERE KAKUTEI_FLG = '0') "
                       "AND NOT EXISTS (SELECT 1 FROM SYS_TUKI WHERE NEN = :nen AND TUKI = :tuki)"),
        monthParams(nen, tuki));
    if (inserted == 0) {
        m_dialogs.message(anotherMonthOpen() ? oneOpenMonthMessage()
                                             : alreadyCreatedMessage(nen, tuki),
                          Icon::Error);
        return Outcome::Refused;
    }
    m_dialogs.message(QStringLiteral("完了しました。"));
    return Outcome::Done;
}

Outcome MonthlyRegister::confirmMonth(const QString &nen, const QString &tuki)
{
    if (!hasMonthInput(m_dialogs, nen, tuki))
        return Outcome::Refused;
    if (!m_dialogs.ask(nen + QStringLiteral("年") + tuki +
                           QStringLiteral("月の処理を確定します。") +
                           QStringLiteral("\n\n確定すると管理NOのナンバリングが0に戻ります。"),
                       Icon::Question))
        return Outcome::Declined;
    const int changed = m_db.exec(
        QStringLiteral("UPDATE SYS_TUKI SET KAKUTEI_FLG = '1' WHERE NEN = :nen AND TUKI = :tuki"),
        monthParams(nen, tuki));
    if (changed == 0)
        return Outcome::Unchanged;
    m_dialogs.message(nen + QStringLiteral("年") + tuki + QStringLiteral("月を確定しました。"),
                      Icon::Information);
    return Outcome::Done;
}

Outcome MonthlyRegister::reopenMonth(const QString &nen, const QString &tuki)
{
    if (!hasMonthInput(m_dialogs, nen, tuki))
        return Outcome::Refused;
    if (!m_dialogs.ask(nen + QStringLiteral("年") + tuki +
                           QStringLiteral("月の処理を取り消しします。"),
                       Icon::Question))
        return Outcome::Declined;
    if (anotherMonthOpen()) {
        m_dialogs.message(oneOpenMonthMessage(), Icon::Error);
        return Outcome::Refused;
    }
    const int changed = m_db.exec(
        QStringLiteral("UPDATE SYS_TUKI SET KAKUTEI_FLG = '0' WHERE NEN = :nen AND TUKI = :tuki "
                       "AND NOT EXISTS (SELECT 1 FROM SYS_TUKI AS o WHERE o.KAKUTEI_FLG = '0')"),
        monthParams(nen, tuki));
    if (changed > 0)
        return Outcome::Done;
    if (anotherMonthOpen()) { // opened meanwhile on another workstation
        m_dialogs.message(oneOpenMonthMessage(), Icon::Error);
        return Outcome::Refused;
    }
    return Outcome::Unchanged;
}
