#include "ConsoleProgress.h"

#include <cstdio>
#include <unistd.h>

namespace {
void put(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
} // namespace

void ConsoleProgress::start(const QString &title, int total)
{
    if (m_active)
        finish();
    m_title = title;
    m_total = total;
    m_now = 0;
    m_active = true;
    m_tty = isatty(fileno(stderr));
    m_lastDraw.invalidate();
    if (m_tty)
        draw(true);
}

void ConsoleProgress::step(int now)
{
    m_now = now;
    draw(false);
}

void ConsoleProgress::note(const QString &text)
{
    if (m_tty && m_active)
        put(QStringLiteral("\n"));
    put(text + QLatin1Char('\n'));
}

void ConsoleProgress::finish()
{
    if (!m_active)
        return;
    m_active = false;
    if (!m_tty) {
        put(line() + QLatin1Char('\n'));
        return;
    }
    draw(true);
    put(QStringLiteral("\n"));
}

QString ConsoleProgress::line() const
{
    return QStringLiteral("%1  %2/%3").arg(m_title).arg(m_now).arg(m_total);
}

void ConsoleProgress::draw(bool force)
{
    if (!m_tty)
        return;
    if (!force && m_lastDraw.isValid() && m_lastDraw.elapsed() < 100)
        return;
    m_lastDraw.start();
    put(QLatin1Char('\r') + line() + QStringLiteral("\x1b[K"));
}
