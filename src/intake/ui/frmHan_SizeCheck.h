// The size plate list "サイズ版チェック": the letterpress lines of the import date whose size
// key is not in the size master, or whose size master row has no plate number yet.
#pragma once

#include "frmHan_SoseiCheck.h"

class frmHan_SizeCheck : public frmHan_SoseiCheck {
    Q_OBJECT
public:
    explicit frmHan_SizeCheck(QWidget *parent = nullptr);
};
