// Every message, question and input of the desk goes through this interface: message boxes
// on screen, stderr and --yes in batch, a recording fake in tests.
#pragma once

#include <QString>
#include <optional>

enum class Icon {
    None,
    Information,
    Question,
    Warning,
    Error, // the stop / critical icon
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    void message(const QString &text, Icon icon = Icon::None, const QString &title = {})
    {
        showMessage(text, icon, title);
    }
    // true for Yes.
    bool ask(const QString &text, Icon icon = Icon::Question, const QString &title = {},
             bool defaultNo = false)
    {
        return askQuestion(text, icon, title, defaultNo);
    }
    // std::nullopt when the operator cancels.
    std::optional<QString> input(const QString &prompt, const QString &title = {},
                                 const QString &initial = {})
    {
        return askInput(prompt, title, initial);
    }
    void beep() { soundBeep(); }

protected:
    virtual void showMessage(const QString &text, Icon icon, const QString &title) = 0;
    virtual bool askQuestion(const QString &text, Icon icon, const QString &title,
                             bool defaultNo) = 0;
    virtual std::optional<QString> askInput(const QString &prompt, const QString &title,
                                            const QString &initial) = 0;
    virtual void soundBeep() = 0;
};

// The Dialogs of the running program (message boxes in the desk, console in batch).
Dialogs &appDialogs();
void setAppDialogs(Dialogs *dialogs);

// Answers nothing and shows nothing: for code paths that must stay silent.
class SilentDialogs : public Dialogs {
protected:
    void showMessage(const QString &, Icon, const QString &) override {}
    bool askQuestion(const QString &, Icon, const QString &, bool) override { return false; }
    std::optional<QString> askInput(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    void soundBeep() override {}
};
