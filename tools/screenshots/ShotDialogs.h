// The desk's messages during the screenshot tour. Each message, question and input is logged on
// stderr; the tour says beforehand which ones it waits for, how they are answered and which are
// photographed (built as the desk's own message box). Anything else counts as unexpected and
// is answered No, so the tour never waits for a hand on the keyboard.
#pragma once

#include "Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Camera;

class ShotDialogs : public Dialogs {
public:
    explicit ShotDialogs(Camera &camera) : m_camera(camera) {}

    // The next message whose text contains `contains` is answered with `yes` (questions) or
    // `typed` (inputs) and, when png is given, saved as a picture.
    void expect(const QString &contains, bool yes = false, const QString &png = {},
                std::optional<QString> typed = std::nullopt);
    // Expectations not met yet, and messages nobody expected.
    QStringList pending() const;
    QStringList unexpected() const { return m_unexpected; }

protected:
    void showMessage(const QString &text, Icon icon, const QString &title) override;
    bool askQuestion(const QString &text, Icon icon, const QString &title, bool defaultNo) override;
    std::optional<QString> askInput(const QString &prompt, const QString &title,
                                    const QString &initial) override;
    void soundBeep() override;

private:
    struct Expectation {
        QString contains;
        bool yes = false;
        QString png;
        std::optional<QString> typed;
    };

    // The first waiting expectation the text meets; std::nullopt (and logged) when none does.
    std::optional<Expectation> take(const QString &kind, const QString &text);
    void photograph(const Expectation &e, const QString &text, Icon icon, const QString &title,
                    bool question, bool defaultNo);

    Camera &m_camera;
    QList<Expectation> m_waiting;
    QStringList m_unexpected;
};
