// Progress of long work: the progress form in the desk, a progress line on stderr in batch.
// start() shows the form with its title and total (bar maximum), step() advances the count;
// both let pending events through so the screen stays responsive.
#pragma once

#include <QString>

class Progress {
public:
    virtual ~Progress() = default;

    virtual void start(const QString &title, int total) = 0;
    virtual void step(int now) = 0;
    // A passing note while the work waits (another workstation holds a lock).
    virtual void note(const QString &text) = 0;
    virtual void finish() = 0;
    // Lets pending events through while the work waits (the desk stays responsive).
    virtual void pump() {}
};

class NullProgress : public Progress {
public:
    void start(const QString &, int) override {}
    void step(int) override {}
    void note(const QString &) override {}
    void finish() override {}
};

// The Progress of the running program.
Progress &appProgress();
void setAppProgress(Progress *progress);

// Finishes the progress display when the scope ends, on every path.
class ProgressScope {
public:
    explicit ProgressScope(Progress &progress) : m_progress(progress) {}
    ~ProgressScope() { m_progress.finish(); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    Progress &m_progress;
};
