#include "platform/xlsedit/AtomicFile.h"

#include "platform/xls/Container.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace sortilo::xlsedit {
namespace {

// Temporary files are ".NAME.sortilo-XXXXXX" beside the workbook: hidden, and recognisable
// as this program's own, so that what a crash leaves behind can be removed later.
const QByteArray TemporaryTag = ".sortilo-";
constexpr int RandomChars = 6;  // mkstemp's XXXXXX

Error notSaved(const QString& what, int error) {
    return fault(
        ErrorKind::NotSaved,
        error ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(strerror(error))) : what);
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Makes the rename itself durable.
void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Removes the temporary files earlier saves of this workbook left behind when they were cut
// short. A save in progress holds a lock on its temporary file, so only orphans go; the
// locks of a process end with it, whatever ended it.
void removeOrphans(const QByteArray& folder, const QByteArray& prefix) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || name.size() != prefix.size() + RandomChars) {
            continue;
        }
        const QByteArray path = folder + '/' + name;
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(path.constData());
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// Creates and locks a temporary file. Another save of the workbook may remove an unlocked one
// in the moment between the two; then it is made anew.
int createTemporary(QByteArray& name, const QByteArray& pattern) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        name = pattern;
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        struct stat opened {
        }, named{};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::stat(name.constData(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev) {
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// The new file takes the old one's place: same owner, group and permissions as far as this
// process may set them. A user who may not give the file away keeps at least its group.
void takeOver(int fd, const struct stat& old) {
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Neither: the file belongs to this user and group from now on.
        }
    }
    ::fchmod(fd, old.st_mode & 07777);  // after fchown, which may clear set-id bits
}

// Writes, syncs and reads back the temporary file; errno holds the cause on failure.
Result<void> fillTemporary(int fd, const QByteArray& tmp, const QByteArray& bytes,
                           const std::function<bool(const QByteArray&)>& check) {
    if (!writeAll(fd, bytes)) {
        return notSaved(QStringLiteral("writing failed"), errno);
    }
    if (::fsync(fd) != 0) {
        return notSaved(QStringLiteral("flushing to disk failed"), errno);
    }
    const Result<QByteArray> reread = xls::readFileBytes(QFile::decodeName(tmp));
    if (!reread) {
        return notSaved(QStringLiteral("reading back failed: ") + reread.error().detail, 0);
    }
    if (*reread != bytes || !check(*reread)) {
        return notSaved(QStringLiteral("the written file does not read back as written"), 0);
    }
    return {};
}

}  // namespace

Result<void> replaceFileAtomically(const QString& path, const QByteArray& bytes,
                                   const std::function<bool(const QByteArray&)>& check) {
    const QFileInfo info(path);
    // Through a link we replace the file it points at, not the link.
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    struct stat st {};
    const bool existed = ::stat(targetName.constData(), &st) == 0;
    if (existed && (st.st_mode & 0222) == 0) {
        return notSaved(QStringLiteral("the file is read-only"), EACCES);
    }
    // The new file would carry one of the names only; the others would keep the old contents.
    if (existed && st.st_nlink > 1) {
        return fault(ErrorKind::HardLinked, QStringLiteral("%1 names").arg(st.st_nlink));
    }
    struct stat dirStat {};
    if (::stat(folder.constData(), &dirStat) != 0) {
        return notSaved(QStringLiteral("the folder cannot be reached"), errno);
    }
    if ((dirStat.st_mode & 0222) == 0) {
        return notSaved(QStringLiteral("the folder is read-only"), EACCES);
    }

    const QByteArray prefix = '.' + QFile::encodeName(QFileInfo(target).fileName()) + TemporaryTag;
    removeOrphans(folder, prefix);
    QByteArray tmp;
    const int fd = createTemporary(tmp, folder + '/' + prefix + QByteArray(RandomChars, 'X'));
    if (fd < 0) {
        return notSaved(QStringLiteral("no temporary file beside the workbook"), errno);
    }
    if (existed) {
        takeOver(fd, st);
    } else {
        ::fchmod(fd, 0644);
    }
    Result<void> done = fillTemporary(fd, tmp, bytes, check);
    if (done && ::rename(tmp.constData(), targetName.constData()) != 0) {
        done = notSaved(QStringLiteral("replacing the workbook failed"), errno);
    }
    if (!done) {
        ::unlink(tmp.constData());
    }
    // Closing drops the lock; by now the temporary file is the workbook or gone, and what it
    // holds was synced and read back before.
    ::close(fd);
    if (!done) {
        return done;
    }
    syncFolder(folder);
    return {};
}

}  // namespace sortilo::xlsedit
