// Start-up of the desk and of every batch command: the INI file into the session (and the
// connection settings), the computer name, the version text, and the refusal of a second running
// copy.
#pragma once

#include "Outcome.h"

#include <QString>

#include <memory>

class Dialogs;
class Session;
class QLockFile;

// Reads the INI file in use: printers, folders and operator into session, the connection
// settings into their process-wide place; Done, or Failed when the file could not be read
// (after its message).
Outcome readSettings(Session &session, Dialogs &dialogs);

// What keeps the installation of the INI file in use from reaching its database, as the operator is
// told it: the INI file named by --ini is missing, or no INI / no provider (a first start). Empty
// when the settings name a database (whether it answers is dbOpen's to say). Call after
// readSettings.
QString settingsProblem(bool iniNamed);

// This computer's name, at most 15 characters; empty (after its message) on failure.
QString computerName(Dialogs &dialogs);

// "Version 1.0.0" from the build's project version.
QString versionText();

// Holds the single-instance lock of one INI file for the life of the desk.
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    // false when another copy of the desk runs on the same INI file.
    bool acquire(const QString &iniPath);

private:
    std::unique_ptr<QLockFile> m_lock;
};
