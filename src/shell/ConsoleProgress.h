// Progress line on stderr for the batch commands: "title  n/total" redrawn in place on a
// terminal, one line per step when it ends otherwise (so logs stay short).
#pragma once

#include "Progress.h"

#include <QElapsedTimer>

class ConsoleProgress : public Progress {
public:
    void start(const QString &title, int total) override;
    void step(int now) override;
    void note(const QString &text) override;
    void finish() override;

private:
    void draw(bool force);
    QString line() const;

    QString m_title;
    int m_total = 0;
    int m_now = 0;
    bool m_active = false;
    bool m_tty = false;
    QElapsedTimer m_lastDraw;
};
