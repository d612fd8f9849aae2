// Collects the output files completed while it is alive: the conversion's writers announce
// each finished file (note), and the run keeps the list in its history. Captures are per
// thread and nest; a file completed with no capture alive is simply not collected.
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

    // A file took its final name.
    static void note(const QString &path);

private:
    QStringList m_paths;
    OutputFileCapture *m_outer;
};
