// The five output folders of an installation (section tarvolin of the INI file). The session
// keeps them as typed; a conversion run gets them resolved against the installation folder.
#pragma once

#include <QString>

struct OutputFolders {
    QString car; // thermal-transfer print files (CarDir, 生産C)
    QString han; // instruction-artwork files (HanDir)
    QString stk; // lot seal file (StkDir)
    QString sht; // lot sheet file (ShtDir)
    QString kak; // proof artwork (KakDir, 確認版下); no run writes to it

    // The same folders with a relative one taken from the installation folder; an unset folder
    // stays "".
    OutputFolders resolved() const;
    // The refusal of a run when folders are unset ("生産Cパスが未設定です。（CarDir）", one
    // line per folder); "" when every folder a run writes to is set.
    QString unsetRefusal() const;
};
