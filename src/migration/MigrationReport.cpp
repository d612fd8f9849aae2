#include "MigrationReport.h"

void MigrationReport::refuse(const QString &text)
{
    ++m_refusalCount;
    if (m_refusals.size() < kListed)
        m_refusals << text;
}

QString MigrationReport::text() const
{
    QString out = QStringLiteral("移行元: ") + source + QLatin1Char('\n');
    const bool written = outcome == Outcome::Migrated;
    out += QStringLiteral("表\t形式\t列名\t読込\t%1\t不可\n")
               .arg(written ? QStringLiteral("登録") : QStringLiteral("登録可"));
    for (const Table &t : tables) {
        if (!t.present) {
            out += t.name + QStringLiteral("\t（なし）\t\t0\t0\t0\n");
            continue;
        }
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                   .arg(t.name, t.format, t.columnsFrom)
                   .arg(t.read)
                   .arg(t.loaded)
                   .arg(t.refused);
    }
    QStringList skipped;
    for (const Table &t : tables)
        for (const QString &c : t.skippedColumns)
            skipped << t.name + QLatin1Char('.') + c;
    if (!skipped.isEmpty())
        out += QStringLiteral("読み込まない列: ") + skipped.join(QStringLiteral("、")) +
               QLatin1Char('\n');
    if (!ignored.isEmpty())
        out += QStringLiteral("読み込まないもの: ") + ignored.join(QStringLiteral("、")) +
               QLatin1Char('\n');
    if (m_refusalCount > 0) {
        out += QStringLiteral("不可（%1 件）:\n").arg(m_refusalCount);
        for (const QString &r : m_refusals)
            out += QStringLiteral("  ") + r + QLatin1Char('\n');
        if (m_refusalCount > m_refusals.size())
            out += QStringLiteral("  ほか %1 件\n").arg(m_refusalCount - m_refusals.size());
    }
    if (!notes.isEmpty()) {
        out += QStringLiteral("注記:\n");
        for (const QString &n : notes)
            out += QStringLiteral("  ") + n + QLatin1Char('\n');
    }
    return out;
}

QString MigrationReport::outcomeMessage() const
{
    switch (outcome) {
    case Outcome::Migrated:
        return QStringLiteral("移行しました。");
    case Outcome::Checked:
        return QStringLiteral(
            "確認しました。不可の行はありません。（データベースは変更していません）");
    case Outcome::Refused:
        break;
    }
    return QStringLiteral("不可の行があるため移行しませんでした。データベースは変更していません。");
}
