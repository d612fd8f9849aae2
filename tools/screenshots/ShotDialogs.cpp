#include "ShotDialogs.h"

#include "Camera.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include <cstdio>

namespace {
// The icons and title of the desk's message boxes (MessageBoxDialogs).
QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

void log(const QString &kind, const QString &text)
{
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    std::fprintf(stderr, "  [%s] %s\n", qPrintable(kind), qPrintable(oneLine));
}
} // namespace

void ShotDialogs::expect(const QString &contains, bool yes, const QString &png,
                         std::optional<QString> typed)
{
    m_waiting.append({contains, yes, png, std::move(typed)});
}

QStringList ShotDialogs::pending() const
{
    QStringList texts;
    for (const Expectation &e : m_waiting)
        texts << e.contains;
    return texts;
}

std::optional<ShotDialogs::Expectation> ShotDialogs::take(const QString &kind, const QString &text)
{
    for (int i = 0; i < m_waiting.size(); ++i) {
        if (text.contains(m_waiting.at(i).contains)) {
            log(kind, text);
            return m_waiting.takeAt(i);
        }
    }
    log(kind + QStringLiteral(" 予期しない"), text);
    m_unexpected << text;
    return std::nullopt;
}

void ShotDialogs::photograph(const Expectation &e, const QString &text, Icon icon,
                             const QString &title, bool question, bool defaultNo)
{
    if (e.png.isEmpty())
        return;
    QMessageBox box(boxIcon(icon), titleOr(title), text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    if (question)
        box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    m_camera.shoot(&box, e.png);
    box.hide();
}

void ShotDialogs::showMessage(const QString &text, Icon icon, const QString &title)
{
    if (const auto e = take(QStringLiteral("メッセージ"), text))
        photograph(*e, text, icon, title, false, false);
}

bool ShotDialogs::askQuestion(const QString &text, Icon icon, const QString &title, bool defaultNo)
{
    const auto e = take(QStringLiteral("質問"), text);
    if (!e)
        return false;
    photograph(*e, text, icon, title, true, defaultNo);
    return e->yes;
}

std::optional<QString> ShotDialogs::askInput(const QString &prompt, const QString &title,
                                             const QString &initial)
{
    const auto e = take(QStringLiteral("入力"), prompt);
    if (!e)
        return std::nullopt;
    if (!e->png.isEmpty()) {
        QInputDialog box;
        box.setWindowTitle(titleOr(title));
        box.setLabelText(prompt);
        box.setTextValue(e->typed.value_or(initial));
        m_camera.shoot(&box, e->png);
        box.hide();
    }
    return e->typed;
}

void ShotDialogs::soundBeep()
{
    log(QStringLiteral("ビープ"), QString());
}
