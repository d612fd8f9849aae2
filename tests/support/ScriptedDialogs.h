// The tests' Dialogs: records every message, question and input, and answers from a script.
#pragma once

#include "Dialogs.h"

#include <QList>
#include <QStringList>

struct Shown {
    enum Kind { Message, Question, Input, Beep };
    Kind kind;
    QString text;
    Icon icon;
    QString title;
    bool defaultNo = false; // a question whose default button (Enter) is No
};

class ScriptedDialogs : public Dialogs {
public:
    QList<Shown> shown;
    // Answers for ask(), in order; defaultAnswer once they are used up.
    QList<bool> answers;
    bool defaultAnswer = true;
    // Answers for input(), in order; std::nullopt is a cancel. Cancel once used up.
    QList<std::optional<QString>> inputs;

    // The texts of everything shown, in order (questions and inputs included).
    QStringList texts() const;
    // The texts of plain messages only.
    QStringList messages() const;
    int count(Shown::Kind kind) const;
    const Shown &last() const { return shown.last(); }
    void clear();

protected:
    void showMessage(const QString &text, Icon icon, const QString &title) override;
    bool askQuestion(const QString &text, Icon icon, const QString &title, bool defaultNo) override;
    std::optional<QString> askInput(const QString &prompt, const QString &title,
                                    const QString &initial) override;
    void soundBeep() override;
};
