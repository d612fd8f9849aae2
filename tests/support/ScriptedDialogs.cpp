#include "ScriptedDialogs.h"

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Shown &s : shown)
        result << s.text;
    return result;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList result;
    for (const Shown &s : shown)
        if (s.kind == Shown::Message)
            result << s.text;
    return result;
}

int ScriptedDialogs::count(Shown::Kind kind) const
{
    int n = 0;
    for (const Shown &s : shown)
        n += s.kind == kind ? 1 : 0;
    return n;
}

void ScriptedDialogs::clear()
{
    shown.clear();
    answers.clear();
    inputs.clear();
    defaultAnswer = true;
}

void ScriptedDialogs::showMessage(const QString &text, Icon icon, const QString &title)
{
    shown.append({Shown::Message, text, icon, title, false});
}

bool ScriptedDialogs::askQuestion(const QString &text, Icon icon, const QString &title,
                                  bool defaultNo)
{
    shown.append({Shown::Question, text, icon, title, defaultNo});
    return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

std::optional<QString> ScriptedDialogs::askInput(const QString &prompt, const QString &title,
                                                 const QString &)
{
    shown.append({Shown::Input, prompt, Icon::None, title, false});
    return inputs.isEmpty() ? std::nullopt : inputs.takeFirst();
}

void ScriptedDialogs::soundBeep()
{
    shown.append({Shown::Beep, QString(), Icon::None, QString(), false});
}
