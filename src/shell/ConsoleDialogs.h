// Dialogs of the batch commands: messages to stderr, every question answered by --yes
// (Yes) or its absence (No), inputs answered from a preset list or refused.
#pragma once

#include "Dialogs.h"

#include <QStringList>

class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(bool answerYes) : m_answerYes(answerYes) {}


    // Answers for the next input() calls, in order (a command that takes a value as argument
    // hands it to the logic this way).
    void queueInput(const QString &answer) { m_inputs.append(answer); }

    // How many refusals and errors were shown (the command's exit status looks at it).
    int errorCount() const { return m_errors; }

protected:
    void showMessage(const QString &text, Icon icon, const QString &title) override;
    bool askQuestion(const QString &text, Icon icon, const QString &title, bool defaultNo) override;
    std::optional<QString> askInput(const QString &prompt, const QString &title,
                                    const QString &initial) override;
    void soundBeep() override;

private:
    bool m_answerYes;
    QStringList m_inputs;
    int m_errors = 0;
};
