// The hourglass while a screen loads or works, restored on every path when the scope ends.
#pragma once

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    // The normal pointer for the length of a message box shown in the middle of busy work.
    class Pause {
    public:
        Pause();
        ~Pause();

    private:
        int m_depth = 0;
    };
};
