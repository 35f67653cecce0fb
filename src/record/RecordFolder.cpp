#include "record/RecordFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <utility>

namespace sortilo::record {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

Error systemError(const QString& path, const char* what) {
    return Error(ErrorKind::RecordNotWritten, path,
                 QStringLiteral("%1: %2").arg(QLatin1String(what),
                                              QString::fromLocal8Bit(std::strerror(errno))));
}

}  // namespace

SyncedFile::SyncedFile(SyncedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

SyncedFile& SyncedFile::operator=(SyncedFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

SyncedFile::~SyncedFile() {
    close();
}

Result<SyncedFile> SyncedFile::create(const QString& path, bool* taken) {
    const int fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (taken != nullptr) {
        *taken = fd < 0 && errno == EEXIST;
    }
    if (fd < 0) {
        return systemError(path, "create");
    }
    return SyncedFile(fd, path);
}

Result<SyncedFile> SyncedFile::open(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return systemError(path, "open");
    }
    return SyncedFile(fd, path);
}

bool SyncedFile::lock() {
    return ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

Error SyncedFile::failure(const char* what) const {
    return systemError(path_, what);
}

Result<QByteArray> SyncedFile::readAll() const {
    QByteArray bytes;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
        if (n < 0) {
            return failure("read");
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, n);
        at += n;
    }
}

Result<void> SyncedFile::append(const QByteArray& bytes) {
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0) {
        return failure("seek");
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd_, bytes.constData() + done,
                                   static_cast<size_t>(bytes.size() - done), end + done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return failure("write");
        }
        done += n;
    }
    return ::fdatasync(fd_) == 0 ? Result<void>() : failure("sync");
}

Result<void> SyncedFile::truncate(qint64 size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        return failure("truncate");
    }
    return ::fsync(fd_) == 0 ? Result<void>() : failure("sync");
}

void SyncedFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

// A folder without any write permission is read-only for everyone: the system would let root
// write all the same, but the program refuses it to every user, as it refuses a read-only
// workbook or title database.
Result<void> makeFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return Error(ErrorKind::RecordNotWritten, folder, QStringLiteral("cannot make the folder"));
    }
    struct stat st {};
    if (::stat(native(folder).constData(), &st) != 0 || (st.st_mode & 0222) == 0) {
        return Error(ErrorKind::RecordNotWritten, folder,
                     QStringLiteral("the folder is read-only"));
    }
    return {};
}

Result<void> syncFolder(const QString& folder) {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return systemError(folder, "open the folder");
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced ? Result<void>() : systemError(folder, "sync the folder");
}

Result<void> removeFile(const QString& path) {
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT) {
        return systemError(path, "remove");
    }
    return syncFolder(QFileInfo(path).absolutePath());
}

}  // namespace sortilo::record
