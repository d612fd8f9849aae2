// Where an installation lives: the INI file in use, the installation folder (the folder of
// that file, which receives print/ and export/ and may hold Menu1.txt and sys_crf/), and the
// package's share folder that supplies what the installation folder lacks.
#pragma once

#include <QString>

namespace Installation {

// The INI file: the --ini option; else the program's own name + ".ini" beside the program
// when that file exists (a portable installation); else $XDG_CONFIG_HOME/ostera/ostera.ini.
QString resolveIniPath(const QString &iniOption, const QString &programPath);

// The folder of the INI file.
QString installDirOf(const QString &iniPath);

// The package's data folder: ../share/ostera beside the program (build tree and installed
// prefix alike), or OSTERA_SHARE_DIR when set.
QString shareDir();

// A data file of the installation (Menu1.txt, sys_crf/...): from the installation folder
// when it is there, else from the share folder.
QString dataFile(const QString &relativePath);

// An output folder of the installation as set: a relative folder is taken from the
// installation folder (as the SQLite database file is), never from the working folder of
// the command; an unset folder stays "".
QString folderPath(const QString &setting);

// Folder + file name with exactly one separator, whether or not the folder ends with one.
QString joinPath(const QString &folder, const QString &name);

// The installation's print/ and export/ folders, created on first use.
QString printDir();
QString exportDir();

} // namespace Installation
