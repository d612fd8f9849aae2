// Saves windows of the desk as PNG files for the guide. The offscreen platform draws no window
// frame, so each picture gets a plain title bar with the window's caption, as the operator sees
// it on the workstation.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

class Camera {
public:
    explicit Camera(const QString &folder);

    // Lays the window out, lets it paint and saves it as folder/name.png.
    void shoot(QWidget *window, const QString &name);
    // Runs act on the next modal dialog once it runs its own event loop (exec()); a dialog
    // still open after a while is closed and counted as a failure.
    void onNextModal(std::function<void(QWidget *)> act);

    // Lets pending events through for a short while (layouts, paints, queued calls).
    static void settle(int milliseconds = 30);

    QStringList saved() const { return m_saved; }
    QStringList failures() const { return m_failures; }
    void fail(const QString &what) { m_failures << what; }

private:
    QString m_folder;
    QStringList m_saved;
    QStringList m_failures;
};
