#include "platform/xlsedit/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace sortilo::xlsedit {
namespace {

SheetError notSaved(const QString& what, int error) {
    return {
        SheetProblem::NotSaved,
        error ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(strerror(error))) : what};
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
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

// Writes, syncs and reads back the temporary file; errno holds the cause on failure.
SheetError fillTemporary(int fd, const QByteArray& tmp, const QByteArray& bytes,
                         const std::function<bool(const QByteArray&)>& check) {
    if (!writeAll(fd, bytes))
        return notSaved(QStringLiteral("writing failed"), errno);
    if (::fsync(fd) != 0)
        return notSaved(QStringLiteral("flushing to disk failed"), errno);
    QFile back(QFile::decodeName(tmp));
    if (!back.open(QIODevice::ReadOnly))
        return notSaved(QStringLiteral("reading back failed: ") + back.errorString(), 0);
    const QByteArray reread = back.readAll();
    if (reread != bytes || !check(reread))
        return notSaved(QStringLiteral("the written file does not read back as written"), 0);
    return {};
}

}  // namespace

SheetError replaceFileAtomically(const QString& path, const QByteArray& bytes,
                                 const std::function<bool(const QByteArray&)>& check) {
    const QFileInfo info(path);
    // Through a link we replace the file it points at, not the link.
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(targetName.constData(), &st) == 0) {
        if ((st.st_mode & 0222) == 0)
            return notSaved(QStringLiteral("the file is read-only"), EACCES);
        mode = st.st_mode & 07777;
    }
    struct stat dirStat {};
    if (::stat(folder.constData(), &dirStat) != 0)
        return notSaved(QStringLiteral("the folder cannot be reached"), errno);
    if ((dirStat.st_mode & 0222) == 0)
        return notSaved(QStringLiteral("the folder is read-only"), EACCES);

    QByteArray tmp = folder + "/." + QFile::encodeName(QFileInfo(target).fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return notSaved(QStringLiteral("no temporary file beside the workbook"), errno);
    ::fchmod(fd, mode);
    SheetError error = fillTemporary(fd, tmp, bytes, check);
    if (::close(fd) != 0 && !error)
        error = notSaved(QStringLiteral("closing failed"), errno);
    if (!error && ::rename(tmp.constData(), targetName.constData()) != 0)
        error = notSaved(QStringLiteral("replacing the workbook failed"), errno);
    if (error) {
        ::unlink(tmp.constData());
        return error;
    }
    syncFolder(folder);
    return {};
}

}  // namespace sortilo::xlsedit
