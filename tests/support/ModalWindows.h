// Screen tests drive modal windows, which run an event loop of their own: the test's action
// is queued before the window opens and runs once it is up.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <type_traits>

// Deletes the windows closed with deleteLater.
inline void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs act on the modal window once it is up (checking again for a moment while it is not).
// A modal window left open fails the test instead of hanging it.
template <class Window = QWidget>
void whenModal(std::type_identity_t<std::function<void(Window *)>> act, int attempts = 200)
{
    QTimer::singleShot(attempts == 200 ? 0 : 10, [act, attempts] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (attempts > 0)
                whenModal<Window>(act, attempts - 1); // not up yet
            else
                ADD_FAILURE() << "no modal window opened";
            return;
        }
        QTimer::singleShot(5000, modal, [modal] {
            if (modal->isVisible()) {
                ADD_FAILURE() << "a modal window stayed open";
                modal->close();
            }
        });
        auto *window = qobject_cast<Window *>(modal);
        ASSERT_NE(window, nullptr) << "the modal window is of another kind";
        act(window);
    });
}
