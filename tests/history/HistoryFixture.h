// The history tests' day: the conversion masters, a registered day, and the operations whose
// history is kept (conversion, cancel, confirmation, line edits) run as the desk runs them.
#pragma once

#include "../conversion/ConversionFixture.h"
#include "AuditTrail.h"
#include "Confirmation.h"
#include "ConversionCancel.h"
#include "ConversionRun.h"
#include "DbTest.h"
#include "HistoryTables.h"
#include "RecordedPage.h"
#include "RunList.h"

#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class HistoryTest : public ConversionDayTest {
protected:
    // Lines 1..n of the day, thermal, one lot; `from` numbers further lines of another lot.
    void addLines(int n, int from = 1, const QString &fcRg = QStringLiteral("AB"))
    {
        for (int ln = from; ln < from + n; ++ln) {
            ConversionFixture::OrderLine l;
            l.ln = ln;
            l.fcRg = fcRg;
            l.fcCd = fcRg == QLatin1String("AB") ? QStringLiteral("001") : QStringLiteral("002");
            l.knrNo = fcRg + QStringLiteral("-00%1").arg(from);
            l.lotNo = QStringLiteral("L%1").arg(from, 4, 10, QLatin1Char('0'));
            l.su = 10 * ln;
            l.row = QStringList{"04", "05", "06"}.at(ln % 3);
            addLine(db(), l);
        }
        ConversionFixture::finishLines(db());
    }

    ConversionResult convert(Machine machine = Machine::Any)
    {
        ConversionInput input;
        input.impDate = ConversionFixture::kDay;
        input.machine = machine;
        ConversionRun run(db(), dialogs, progress, session.outputFolders());
        return run.run(input);
    }
    Outcome cancel()
    {
        return ConversionCancel(db(), dialogs, progress).run(ConversionFixture::kDay);
    }
    Outcome confirm()
    {
        const ConfirmationCounts counts = Confirmation::counts(db(), ConversionFixture::kDay);
        return Confirmation(db(), dialogs, progress).run(ConversionFixture::kDay, counts);
    }

    // "kind column old>new" of each entry of a line, oldest first.
    QStringList changesOf(int ln)
    {
        QStringList result;
        for (const AuditEntry &e : AuditTrail::entries(db(), ConversionFixture::kDay, ln))
            result << e.kind + QLatin1Char(' ') + e.column + QLatin1Char(' ') + e.oldValue +
                          QLatin1Char('>') + e.newValue;
        return result;
    }
    int entries() { return count(QStringLiteral("TBL_ORDER_LOG")); }

    void dropHistoryTables()
    {
        for (const QString &table : HistoryTables::names())
            db().exec(QStringLiteral("DROP TABLE ") + table);
    }
};

// Pages as a reader sees them: what each field printed and which sections showed, without
// the time of printing.
inline QList<QStringList> printedPages(const QList<RecordedPage> &pages)
{
    QList<QStringList> result;
    for (const RecordedPage &page : pages) {
        QStringList lines;
        for (auto it = page.printed.constBegin(); it != page.printed.constEnd(); ++it)
            if (it.key() != QLatin1String("Date"))
                lines << it.key() + QLatin1Char('=') + it.value();
        for (const QString &section : page.sections)
            lines << QStringLiteral("[") + section + QLatin1Char(']');
        lines.sort();
        result << lines;
    }
    return result;
}
