// Backups of an installation's database while desks run, and their restore into an empty
// installation. SQLite: the engine's online backup into a single file (a consistent copy of
// one moment, whatever the other workstations write meanwhile), checked before it takes its
// name. PostgreSQL: pg_dump in its custom format of the installation's schema, restored with
// pg_restore in one transaction.
#pragma once

#include <QString>
#include <QStringList>

class Db;

class DatabaseBackup {
public:
    struct Result {
        bool ok = false;
        QString message;
    };

    explicit DatabaseBackup(Db &db) : m_db(db) {}

    // Writes the copy to file; refuses a file that exists. A failed backup leaves no file.
    Result backup(const QString &file);
    // Restores a backup of the same engine into this installation, whose tables must hold no
    // rows (or not exist yet). Tables a newer desk has are added afterwards.
    Result restore(const QString &file);

    // PRAGMA integrity_check of a SQLite database file: "ok", or what it found.
    static QString integrityCheck(const QString &sqliteFile);

private:
    Result backupSqlite(const QString &file);
    Result backupPostgres(const QString &file);
    Result restoreSqlite(const QString &file);
    Result restorePostgres(const QString &file);
    QString nonEmptyTable();
    QString databasePath() const;
    QStringList postgresArgs() const;
    QString schema() const;

    Db &m_db;
};
