// Every file and folder dialog of the desk is made here, and nowhere else.
//
// A dialog that lists a folder must never open the files it shows. Qt's own dialog learns a
// file's type by reading its first bytes; when the folder holds the SQLite database (the
// installation folder, where the desk is usually started), that read and the close after it drop
// every POSIX lock the process holds on the file (locks belong to the process and go with any
// descriptor of the file that closes). Another process then takes the database as unused,
// removes its -wal and -shm under the desk's connection, and the desk fails with "disk I/O
// error" or reads other data than the terminal. The platform's native dialog runs in the
// process too and reads content for the same reason, so it is not used.
#pragma once

#include <QString>

#include <optional>

class QFileDialog;
class QWidget;

namespace FileDialogs {

// A dialog on `folder` (empty: the working folder) that learns what it shows from names and
// folder entries only. The caller sets its mode and runs it.
QFileDialog *create(QWidget *parent, const QString &title, const QString &folder = QString(),
                    const QString &filter = QString());

// The file chosen to open, or std::nullopt on cancel.
std::optional<QString> openFile(QWidget *parent, const QString &title, const QString &initial,
                                const QString &filter);

// The folder chosen, or std::nullopt on cancel.
std::optional<QString> folder(QWidget *parent, const QString &title, const QString &initial);

} // namespace FileDialogs
