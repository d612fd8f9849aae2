#include "ExclusiveFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ExclusiveFiles {

namespace {

std::atomic<Naming> g_firstNaming{Naming::Rename};

Outcome failed(QString *error)
{
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return Outcome::Failed;
}

// errno values with which a file system says it does not offer a way at all (as opposed to
// a failure of this one call).
bool notOffered(int code)
{
#if ENOTSUP != EOPNOTSUPP
    if (code == ENOTSUP)
        return true;
#endif
    return code == EINVAL || code == ENOSYS || code == EOPNOTSUPP;
}

Outcome renameNoReplace(const QByteArray &from, const QByteArray &to, QString *error, bool *offered)
{
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return Outcome::Taken;
    if (errno == EEXIST)
        return Outcome::NameInUse;
    if (notOffered(errno)) {
        *offered = false;
        return Outcome::Failed;
    }
    return failed(error);
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
    Q_UNUSED(error);
    *offered = false;
    return Outcome::Failed;
#endif
}

Outcome linkThenUnlink(const QByteArray &from, const QByteArray &to, QString *error, bool *offered)
{
    if (::link(from.constData(), to.constData()) != 0) {
        if (errno == EEXIST)
            return Outcome::NameInUse;
        if (notOffered(errno) || errno == EPERM) { // EPERM: no hard links on this file system
            *offered = false;
            return Outcome::Failed;
        }
        return failed(error);
    }
    // The file is complete under its final name; a temporary name left behind would only be
    // a hidden second name of the same file.
    ::unlink(from.constData());
    return Outcome::Taken;
}

// The name is created exclusively, so it is ours; the finished file then replaces only that
// empty reservation. A reader sees the name empty or complete, never half written.
Outcome reserveThenRename(const QByteArray &from, const QByteArray &to, QString *error)
{
    const int fd = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? Outcome::NameInUse : failed(error);
    // Compared while the reservation is still open, so that a share which makes up inode
    // numbers gives the same one to both looks.
    struct stat reserved {};
    struct stat named {};
    const bool ours = ::fstat(fd, &reserved) == 0 && ::lstat(to.constData(), &named) == 0 &&
                      reserved.st_dev == named.st_dev && reserved.st_ino == named.st_ino;
    ::close(fd);
    if (!ours)
        return Outcome::NameInUse; // someone else's file took the place of the reservation
    if (std::rename(from.constData(), to.constData()) != 0) {
        const Outcome outcome = failed(error);
        ::unlink(to.constData());
        return outcome;
    }
    return Outcome::Taken;
}

} // namespace

Outcome takeName(const QString &from, const QString &to, QString *error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const Naming first = g_firstNaming.load();
    bool offered = true;
    if (first == Naming::Rename) {
        const Outcome outcome = renameNoReplace(source, target, error, &offered);
        if (offered)
            return outcome;
    }
    if (first != Naming::Reserve) {
        offered = true;
        const Outcome outcome = linkThenUnlink(source, target, error, &offered);
        if (offered)
            return outcome;
    }
    return reserveThenRename(source, target, error);
}

bool syncToDisk(const QStringList &files, QString *error)
{
    QStringList folders;
    for (const QString &file : files) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    auto fail = [&](const QString &path) {
        if (error)
            *error = path + QStringLiteral(" に書き出せません。") +
                     QString::fromLocal8Bit(std::strerror(errno));
        return false;
    };
#if defined(__linux__)
    // One flush of each file system writes every file of the run and its folder entry.
    QSet<dev_t> flushed;
    for (const QString &folder : std::as_const(folders)) {
        const int fd =
            ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return fail(folder);
        struct stat info {};
        if (::fstat(fd, &info) != 0 || (!flushed.contains(info.st_dev) && ::syncfs(fd) != 0)) {
            const int code = errno;
            ::close(fd);
            errno = code;
            return fail(folder);
        }
        flushed.insert(info.st_dev);
        ::close(fd);
    }
    return true;
#else
    for (const QStringList &paths : {files, folders}) {
        for (const QString &path : paths) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return fail(path);
            if (::fsync(fd) != 0) {
                const int code = errno;
                ::close(fd);
                errno = code;
                return fail(path);
            }
            ::close(fd);
        }
    }
    return true;
#endif
}

QString refusedCharacter(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return QStringLiteral(".");
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QString(c);
    return {};
}

void setFirstNaming(Naming naming)
{
    g_firstNaming.store(naming);
}

} // namespace ExclusiveFiles
