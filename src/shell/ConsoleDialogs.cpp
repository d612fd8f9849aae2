#include "ConsoleDialogs.h"

#include <cstdio>

namespace {
void writeErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString prefixed(const QString &title, const QString &text)
{
    return title.isEmpty() ? oneLine(text) : title + QLatin1String(": ") + oneLine(text);
}
} // namespace

void ConsoleDialogs::showMessage(const QString &text, Icon icon, const QString &title)
{
    if (icon == Icon::Error || icon == Icon::Warning)
        ++m_errors;
    writeErr(prefixed(title, text));
}

bool ConsoleDialogs::askQuestion(const QString &text, Icon, const QString &title, bool)
{
    writeErr(prefixed(title, text) + (m_answerYes
                                          ? QStringLiteral(" -> はい")
                                          : QStringLiteral(" -> いいえ（--yes で「はい」）")));
    return m_answerYes;
}

std::optional<QString> ConsoleDialogs::askInput(const QString &prompt, const QString &title,
                                                const QString &)
{
    if (m_inputs.isEmpty()) {
        writeErr(prefixed(title, prompt) + QStringLiteral(" -> （バッチでは入力できません）"));
        return std::nullopt;
    }
    const QString answer = m_inputs.takeFirst();
    writeErr(prefixed(title, prompt) + QLatin1String(" -> ") + answer);
    return answer;
}

void ConsoleDialogs::soundBeep()
{
    ++m_errors;
    writeErr(QStringLiteral("（警告音）"));
}
