// The screenshot tour: one operator's session on a prepared demo installation, screen by screen
// in the order of the guide — login, menu, month register, import, error lists, order edit with
// find and bulk update, plate lists, conversion, print screen, confirmation, reference, run
// history and the masters. Screens are opened the way the menu opens them (the picker included)
// and driven by their keys; every window is saved through the Camera.
#pragma once

#include <QString>

class Camera;
class GridScreen;
class QWidget;
class ShotDialogs;
class ShotProgress;
class MainMenuScreen;

class ScreenshotTour {
public:
    struct Day {
        QString impDate;   // the working day, imported and given a printer beforehand
        QString orderFile; // its order file (shown on the import screen)
    };

    ScreenshotTour(Camera &camera, ShotDialogs &dialogs, ShotProgress &progress, Day day);

    // 0 when every picture was taken and every awaited message came; 1 otherwise.
    int run();

private:
    void loginAndMenu();
    void monthRegister();
    void importScreen();
    void errorScreens();
    void orderEdit();
    void findAndBulkUpdate(GridScreen *edit);
    void plateLists();
    void conversion();
    void printScreen();
    void confirmation();
    void reference();
    void runHistory();
    void masters();
    void masterPair(const QString &command, const QString &png);

    // Runs a menu command word; for a day-bound command the picker is photographed (when
    // pickerPng is given) and its first date, the newest, chosen with Enter.
    QWidget *openFromMenu(const QString &word, const QString &pickerPng = {});
    void closeScreen(QWidget *screen);
    // Closes the screen a command word opened.
    void closeScreen(const QString &word);
    // A grid that should show the day's data but does not is a failure of the tour.
    void requireRows(GridScreen *screen, const QString &what);
    // The factory of the day whose lines most often lack a composition or size plate: made
    // letterpress, it fills both plate lists.
    QString letterpressFactory() const;

    Camera &m_camera;
    ShotDialogs &m_dialogs;
    ShotProgress &m_progress;
    Day m_day;
    MainMenuScreen *m_menu = nullptr;
};
