// The desk's state while it runs: the connection, the import date picked before the day's
// screens, the current order condition, the printers and the output folders. One session is
// made at start-up and handed to every screen (as a batch command gets its BatchContext);
// screens opened by screens share it. No widgets here: tests make their own.
//
// The operator's name, the INI file and the installation folder are read through the session
// too; they stay process-wide underneath, because logic units reach them without a session
// (the history stamps the operator, Installation finds data files and output folders, and the
// connection settings take the installation folder for a SQLite file).
#pragma once

#include "OrderCondition.h"
#include "Outcome.h"
#include "OutputFolders.h"

#include <QString>

#include <memory>

class Db;
class Dialogs;

class Session {
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // --- the connection ---------------------------------------------------------------------
    // The old dbOpen: Done when the connection is there, Failed after the message titled
    // "dbOpen" (the database's description with its number). A live connection is kept instead
    // of replaced, a lost one reconnected; a non-zero borrowed does nothing and returns Done.
    Outcome open(Dialogs &dialogs, int borrowed = 0);
    Outcome open(int borrowed = 0);
    // The old dbClose: closes only when borrowed is 0 and exactly one open has been counted.
    void close(int borrowed = 0);
    // Releases the connection and resets the count (end of the desk or a command, tests).
    void shutdown();
    // The connection of the last open; nullptr before the first.
    Db *db() const { return m_db.get(); }
    int openCount() const { return m_openCount; }

    // --- the day and its lines --------------------------------------------------------------
    const QString &importDate() const { return m_importDate; }
    void setImportDate(const QString &impDate) { m_importDate = impDate; }
    // The lines the edit grid shows and the bulk update changes.
    const OrderCondition &orderCondition() const { return m_condition; }
    void setOrderCondition(const OrderCondition &condition) { m_condition = condition; }

    // --- settings of the installation (read at start-up, changed by the options screen) -----
    // The list printer (Zenpan/L_PRINTER) and the daily-slip printer (D_PRINTER).
    const QString &listPrinter() const { return m_listPrinter; }
    void setListPrinter(const QString &printer) { m_listPrinter = printer; }
    const QString &dailyPrinter() const { return m_dailyPrinter; }
    void setDailyPrinter(const QString &printer) { m_dailyPrinter = printer; }
    // The output folders as typed (section tarvolin), and as a run writes to them.
    const OutputFolders &folderSettings() const { return m_folders; }
    void setFolderSettings(const OutputFolders &folders) { m_folders = folders; }
    OutputFolders outputFolders() const { return m_folders.resolved(); }

    QString userName() const;
    void setUserName(const QString &name);
    QString iniPath() const;
    QString installDir() const;
    // The INI file in use; the installation folder follows it.
    void setIniPath(const QString &iniPath);

    // Forgets the day, the condition, printers and folders (the connection stays).
    void reset();

private:
    std::unique_ptr<Db> m_db;
    int m_openCount = 0;
    QString m_importDate;
    OrderCondition m_condition;
    QString m_listPrinter;
    QString m_dailyPrinter;
    OutputFolders m_folders;
};
