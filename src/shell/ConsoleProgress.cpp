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
    m_lastTenth = -1;
    m_active = true;
    m_tty = isatty(fileno(stderr));
    m_lastDraw.invalidate();
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
    draw(true);
    if (m_tty)
        put(QStringLiteral("\n"));
    m_active = false;
}

void ConsoleProgress::draw(bool force)
{
    const QString line =
        QStringLiteral("%1  %2/%3").arg(m_title).arg(m_now).arg(m_total);
    if (m_tty) {
        if (!force && m_lastDraw.isValid() && m_lastDraw.elapsed() < 100)
            return;
        m_lastDraw.start();
        put(QLatin1Char('\r') + line + QStringLiteral("\x1b[K"));
        return;
    }
    const int tenth = m_total > 0 ? int(qint64(m_now) * 10 / m_total) : 10;
    if (!force && tenth == m_lastTenth)
        return;
    m_lastTenth = tenth;
    put(line + QLatin1Char('\n'));
}
