// A desk as the reliability suites use it: the demo masters, the open business month of the
// tests' clock (2026/12), order files of the demo generator, the ostera program run as another
// workstation would run it, and the checks that say whether anything was lost or mixed.
//
// Every check returns the faults it found as readable lines (empty: none), so that a failing
// suite says what broke rather than only that something did.
#pragma once

#include "DbTest.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>
#include <ostream>

class DeskFixture : public DbTest {
public:
    struct ProgramRun {
        int status = -1;     // exit status; -1 when killed or timed out
        bool killed = false; // ended by a signal (the crash hook's SIGKILL)
        QString out;
        QString err;
    };

protected:
    void SetUp() override;

    // Scale of a run: the short figure in CI, the long one when OSTERA_SOAK is set (scripts/soak).
    static int scaled(int ci, int soak);
    static bool soaking();

    // Writes a demo order file of `lines` records for an import date; returns its path.
    QString writeOrderFile(const QString &impDate, int lines, quint32 seed);

    // Runs ostera on this installation with the tests' fixed clock and extra environment.
    // killAfterMs > 0 kills it with SIGKILL once that time has passed. Safe to call from
    // several threads at once.
    ProgramRun ostera(const QStringList &args, const QMap<QString, QString> &env = {},
                      int timeoutMs = 180000, int killAfterMs = 0) const;

    // --- checks ------------------------------------------------------------------------------

    // Control numbers of the open month: each counter's value is the number of distinct
    // control numbers of its factory, those are exactly 001 ... value (from 1000 on with more
    // digits), no number serves two days, and within a day one group has one number and one
    // number one group.
    QStringList numberingFaults(Db &db);
    // Every day with lines is registered and every registered day has lines; a registered day
    // holds exactly the records of its file (expected: day -> records; days not listed are
    // not compared).
    QStringList importFaults(Db &db, const QMap<QString, int> &expectedLines);
    // Lines still marked as in a conversion (FLG2 not '0').
    QStringList markFaults(Db &db);
    // A converted line carries a stamp and an unconverted one none.
    QStringList stampFaults(Db &db);
    // Lines converted by runs of the batch command: per day, the live stamps (those still on
    // lines) are the successful runs less the cancelled ones, and each stamp covers exactly as
    // many lines as one successful run reported.
    QStringList conversionCountFaults(Db &db, const QMap<QString, QList<int>> &runCounts,
                                      const QMap<QString, int> &cancels);

    // Output files of conversion runs in the five folders: every .csv file complete (CP932,
    // lines ended by CR LF, values quoted and as many per line as its kind has, a print file's
    // lines all of its own control number); temporaries are hidden ".*.tmp" names that no run
    // takes for an output file. temporaries counts them.
    QStringList outputFileFaults(int *temporaries = nullptr) const;

    // The production floor takes the finished files away (into collected/ of the installation,
    // where outputFileFaults still checks them); a folder is never emptied otherwise, and
    // after a hundred runs the lot seal and sheet names (LSTK.csv ... LSTK_99.csv) are used up.
    // Safe to call from several threads at once.
    void collectOutputFiles() const;

    // Figures for the reports of scripts/soak: "figures: <name>: key=value ...".
    static void printFigures(const QString &name, const QStringList &figures);

    QString m_nen;
    QString m_tuki;
};

// Readable failures: gtest prints texts and lists of texts as they are.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Values of one CSV line in the desk's form (every value quoted, "" inside a value);
// std::nullopt when the line is not in that form.
std::optional<QStringList> parseCsvLine(const QString &line);
