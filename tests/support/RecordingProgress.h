// The tests' Progress: remembers what a run showed.
#pragma once

#include "Progress.h"

#include <QStringList>

class RecordingProgress : public Progress {
public:
    QStringList titles;
    QStringList notes;
    int lastTotal = 0;
    int lastStep = 0;
    int steps = 0;
    bool active = false;

    void start(const QString &title, int total) override
    {
        titles << title;
        lastTotal = total;
        lastStep = 0;
        active = true;
    }
    void step(int now) override
    {
        lastStep = now;
        ++steps;
    }
    void note(const QString &text) override { notes << text; }
    void finish() override { active = false; }
};
