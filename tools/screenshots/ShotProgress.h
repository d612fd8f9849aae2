// The progress form during the tour: the desk's own ProgressWindow, photographed once at a chosen
// step of a chosen phase.
#pragma once

#include "Progress.h"

#include <QString>

class Camera;
class ProgressWindow;

class ShotProgress : public Progress {
public:
    ShotProgress(ProgressWindow &splash, Camera &camera) : m_splash(splash), m_camera(camera) {}

    // Saves the form as png when the phase titled `title` reaches step `now`.
    void shootAt(const QString &title, int now, const QString &png);

    void start(const QString &title, int total) override;
    void step(int now) override;
    void note(const QString &text) override;
    void finish() override;
    void pump() override;

private:
    ProgressWindow &m_splash;
    Camera &m_camera;
    QString m_title;
    QString m_wantTitle;
    int m_wantStep = -1;
    QString m_png;
};
