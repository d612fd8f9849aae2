// Dialogs of the desk: Qt message boxes and input dialogs. The default title is the
// application's, as the old message boxes had it.
#pragma once

#include "Dialogs.h"

class QWidget;

class MessageBoxDialogs : public Dialogs {
protected:
    void showMessage(const QString &text, Icon icon, const QString &title) override;
    bool askQuestion(const QString &text, Icon icon, const QString &title, bool defaultNo) override;
    std::optional<QString> askInput(const QString &prompt, const QString &title,
                                    const QString &initial) override;
    void soundBeep() override;
};
