#include "ShotProgress.h"

#include "Camera.h"
#include "ProgressWindow.h"

void ShotProgress::shootAt(const QString &title, int now, const QString &png)
{
    m_wantTitle = title;
    m_wantStep = now;
    m_png = png;
}

void ShotProgress::start(const QString &title, int total)
{
    m_title = title;
    m_splash.start(title, total);
}

void ShotProgress::step(int now)
{
    m_splash.step(now);
    if (!m_png.isEmpty() && m_title == m_wantTitle && now == m_wantStep) {
        m_camera.shoot(&m_splash, m_png);
        m_png.clear();
    }
}

void ShotProgress::note(const QString &text)
{
    m_splash.note(text);
}

void ShotProgress::finish()
{
    m_splash.finish();
}

void ShotProgress::pump()
{
    m_splash.pump();
}
