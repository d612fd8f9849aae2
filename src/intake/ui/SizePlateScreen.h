// The size plate list "サイズ版チェック": the letterpress lines of the import date whose size
// key is not in the size master, or whose size master row has no plate number yet.
#pragma once

#include "CompositionPlateScreen.h"

class SizePlateScreen : public CompositionPlateScreen {
    Q_OBJECT
public:
    explicit SizePlateScreen(Session &session, QWidget *parent = nullptr);
};
