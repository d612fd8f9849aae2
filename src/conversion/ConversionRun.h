// A conversion run over one import date: the operator's conditions, the error check again,
// the mark of the selected lines, the three work tables, the output files and the batch
// stamp that lets the latest run be cancelled. The screen ConversionScreen and the batch
// command `convert` both run it.
#pragma once

#include "OrderCondition.h"
#include "Outcome.h"
#include "OutputFolders.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Db;
class Dialogs;
class Progress;

// Production machine of the run (the screen's "生産機種").
enum class Machine { Any = 0, Thermal = 1, Letterpress = 2 };

struct ConversionInput {
    QString impDate;
    QString setDateFrom; // as typed; both empty: no set-date condition
    QString setDateTo;
    QString special; // 特定変換: empty, "0" or "1"
    Machine machine = Machine::Any;
};

struct ConversionResult {
    // Done: lines stamped. Declined: a question answered No. Refused: a condition refused or
    // nothing to convert (after its message). Failed: a step or statement failed (after its
    // message); the lines are unconverted.
    Outcome outcome = Outcome::Refused;
    // The selection condition once it was built; the screen keeps it as the current order
    // condition.
    OrderCondition condition;
    int orderCount = 0;
    int artworkRows = 0; // WRK_CSV_H
    int printRows = 0;   // WRK_CSV_C
    int reportRows = 0;  // WRK_RPT
    QString stamp;       // B1 of the converted lines

    bool converted() const { return outcome == Outcome::Done; }
    // The result report "※※※変換結果報告※※※" with its four counts, lines ended by CR LF.
    QString report() const;
};

// The two checks a run calls on the order lines. The desk uses the error check of the intake;
// a test may put its own in their place.
struct ConversionChecks {
    // Enrichment and master checks of one import date, run under the run's lock: Done when
    // they ran, whatever they found; Failed ends the run before anything is marked.
    std::function<Outcome(Db &, Dialogs &, Progress &, const QString &)> orderCheck;
    // Quality keys of the marked lines missing from MST_QUL: Done when none is; Refused when
    // some are, Failed when the check failed (after their messages).
    std::function<Outcome(Db &, Dialogs &)> qualityCheck;

    static ConversionChecks standard();
};

class ConversionRun {
public:
    ConversionRun(Db &db, Dialogs &dialogs, Progress &progress, OutputFolders folders,
                  ConversionChecks checks = ConversionChecks::standard());

    ConversionResult run(const ConversionInput &input);

    // The selection condition for the input, or std::nullopt after the refusal's message.
    static std::optional<OrderCondition> buildCondition(const ConversionInput &input,
                                                        Dialogs &dialogs);
    // The question before the run: count + "件変換します。", the lines left out for their
    // findings when there are any, then "宜しいでしょうか？" (lines ended by CR LF).
    static QString countQuestion(int selected, int withFindings);
    // The distinct set dates of the import date, trimmed, in order (the set-date lists).
    static QStringList setDates(Db &db, const QString &impDate);
    // Latest of now and one second after the day's greatest batch stamp.
    static QString nextStamp(Db &db, const QString &impDate);

    // The refusal of a selected line whose printer is not in MST_PRINTER (its data kind is
    // unknown, so no print file would take it).
    static QString unknownDataKindMessage(const QString &knrNo, const QString &printer);

    // How long a work-table step may take (tests shorten it).
    void setWorkTableTimeout(int ms) { m_workTableTimeoutMs = ms; }

private:
    // The condition of the operator's input with checked as its error-check term.
    static std::optional<OrderCondition> conditionOfLines(const ConversionInput &input,
                                                          Dialogs &dialogs, const QString &checked);
    static OrderCondition findingsCondition(const ConversionInput &input, Dialogs &dialogs);
    QString selectionRefusal(const OrderCondition &condition);
    bool convertMarked(const ConversionInput &input, ConversionResult &result);
    bool runSteps(bool thermal);
    bool failStep(const QString &message);
    void rollbackRun();
    void countWorkTables(ConversionResult &result);

    Db &m_db;
    Dialogs &m_dialogs;
    Progress &m_progress;
    OutputFolders m_folders;
    ConversionChecks m_checks;
    int m_workTableTimeoutMs;
};
