// Shared by the master screen tests: the screens registered afresh for each test, opened
// through the registry as the menu opens them, and a way to act on a modal edit screen.
#pragma once

#include "GridScreen.h"
#include "GridView.h"
#include "ModalWindows.h"
#include "PagedQueryModel.h"
#include "ScreenRegistry.h"
#include "ScreenTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs act on the modal window once it is up (a modal window runs its own event loop). A
// window still open five seconds later is closed and the test fails, so nothing hangs.
// Fails (and closes it) when a modal window opens within the next moment.
inline void expectNoModal()
{
    QTimer::singleShot(0, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal window opened: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
}

class MasterScreenTest : public ScreenTest {
protected:
    template <class Screen> Screen *open()
    {
        QWidget *widget = ScreenRegistry::instance().show<Screen>();
        auto *screen = qobject_cast<Screen *>(widget);
        if (!screen)
            return nullptr;
        screen->activateWindow();
        screen->gridView->setFocus();
        QApplication::processEvents();
        return screen;
    }

    static void key(GridScreen *screen, int k)
    {
        // After an edit screen has gone, the list is the active window again.
        QApplication::setActiveWindow(screen);
        screen->gridView->setFocus();
        QTest::keyClick(screen->gridView, Qt::Key(k));
        QApplication::processEvents();
    }

    static void goToRow(GridScreen *screen, int row, int column = 0)
    {
        screen->gridView->setCurrentIndex(screen->model()->index(row, column));
        QApplication::processEvents();
    }

    // Text of a column of every row.
    static QStringList columnTexts(GridScreen *screen, int column)
    {
        QStringList texts;
        for (int r = 0; r < screen->model()->rowCount(); ++r)
            texts << screen->model()->text(r, column);
        return texts;
    }

    static QStringList headers(GridScreen *screen)
    {
        QStringList texts;
        PagedQueryModel *model = screen->model();
        for (int c = 0; c < model->columnCount(); ++c)
            texts << model->headerData(c, Qt::Horizontal).toString();
        return texts;
    }

    // The value of one column of one record.
    QString stored(const QString &table, const QString &keyColumn, const QString &key,
                   const QString &column)
    {
        return db()
            .scalar(QStringLiteral("Select ") + column + QStringLiteral(" From ") + table +
                        QStringLiteral(" Where ") + keyColumn + QStringLiteral(" = :k"),
                    {{QStringLiteral("k"), key}})
            .toString();
    }
};
