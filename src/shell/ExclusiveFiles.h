// Files the desk hands to other programs are never replaced: a finished file takes its final
// name only when no file of that name exists, in one step, and the files of a run are written
// to stable storage together before the run is recorded as done. The platform calls for this
// live here and nowhere else.
#pragma once

#include <QString>
#include <QStringList>

namespace ExclusiveFiles {

// The ways a finished file can take its name without replacing another, in the order they
// are tried: the atomic no-replace rename; a hard link to the new name, then the temporary
// name removed; where the file system has neither (some network shares), the name reserved
// by creating it exclusively and the file renamed over that reservation of its own.
enum class Naming { Rename, Link, Reserve };

enum class Outcome {
    Taken,     // `to` now holds the file; `from` is gone
    NameInUse, // `to` exists (or appeared meanwhile); nothing changed
    Failed,    // see the error text
};

// Gives the closed file `from` the name `to`, never replacing a file that is there.
Outcome takeName(const QString &from, const QString &to, QString *error);

// Writes the files (and the folder entries naming them) to stable storage, with one flush
// per file system where the platform allows it rather than one per file. False with *error
// set ("FOLDER に書き出せません。" and the system's reason) when something could not be written.
bool syncToDisk(const QStringList &files, QString *error);

// What a file name made from data may not hold: "/" or "\" anywhere, or "." at the start
// (a hidden file; an empty name makes ".csv"). The offending character, or "" when the name
// is usable.
QString refusedCharacter(const QString &name);

// The way takeName tries first; the ones after it follow when the file system refuses it.
// Tests use it to go through the ways a file system without them would use.
void setFirstNaming(Naming naming);

} // namespace ExclusiveFiles
