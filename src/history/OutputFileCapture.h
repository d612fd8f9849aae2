// Collects the output files completed while it is alive: the conversion's writers announce
// each finished file (note), and the run keeps the list in its history. Captures are per
// thread and nest; a file completed with no capture alive is simply not collected.
//
// The files belong to the run until it has been recorded: a capture removes every file it
// collected when it ends without keep(), so a run that fails part-way leaves none of its
// files (and the next run does not take LSTK_1.csv beside a stale LSTK.csv).
#pragma once

#include <QStringList>

class OutputFileCapture {
public:
    OutputFileCapture();
    ~OutputFileCapture();
    OutputFileCapture(const OutputFileCapture &) = delete;
    OutputFileCapture &operator=(const OutputFileCapture &) = delete;

    // Full paths, in the order the files were completed.
    const QStringList &paths() const { return m_paths; }

    // Writes the collected files to stable storage (once for all of them); the text of the
    // failure, or "" when they are on disk.
    QString syncToDisk() const;
    // The files stay when the capture ends.
    void keep() { m_kept = true; }

    // A file took its final name.
    static void note(const QString &path);

private:
    QStringList m_paths;
    OutputFileCapture *m_outer;
    bool m_kept = false;
};
