// The progress form "ostera system": phase title, total, current count and bar. Long runs
// show it through the Progress interface; it lets pending events through on every step.
#pragma once

#include "Progress.h"

#include <QWidget>

class QLabel;
class QProgressBar;

class ProgressWindow : public QWidget, public Progress {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    void start(const QString &title, int total) override;
    void step(int now) override;
    void note(const QString &text) override;
    void finish() override;
    void pump() override;

    QLabel *titleLabel;
    QLabel *totalLabel;
    QLabel *countLabel;
    QLabel *noteLabel;
    QProgressBar *progressBar;
};
