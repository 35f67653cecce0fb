#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

namespace sortilo::record {

// The files of the draw record folder, and the disk under them: every write is on disk when it
// returns (the file's data, and the folder's entry of a new or removed file).

inline const QString RecordFolderName = QStringLiteral("抽签记录");
inline const QString RecordSuffix = QStringLiteral(".jsonl");
inline const QString SecretSuffix = QStringLiteral(".secret");

// An open file of the folder, closed (and unlocked) with the object.
class SyncedFile {
public:
    SyncedFile() = default;
    SyncedFile(SyncedFile&& other) noexcept;
    SyncedFile& operator=(SyncedFile&& other) noexcept;
    SyncedFile(const SyncedFile&) = delete;
    SyncedFile& operator=(const SyncedFile&) = delete;
    ~SyncedFile();

    // A new file, readable and writable by the user only; fails if it exists, and then says so
    // in `taken`.
    static Result<SyncedFile> create(const QString& path, bool* taken = nullptr);
    // An existing file, for reading and appending.
    static Result<SyncedFile> open(const QString& path);

    bool isOpen() const { return fd_ >= 0; }
    // Holds the file for this process alone; false when another process holds it.
    bool lock();
    Result<QByteArray> readAll() const;
    // Appends the bytes and waits until they are on disk.
    Result<void> append(const QByteArray& bytes);
    // Cuts the file back to `size` bytes, on disk.
    Result<void> truncate(qint64 size);
    void close();

private:
    explicit SyncedFile(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    Error failure(const char* what) const;

    int fd_ = -1;
    QString path_;
};

// Makes the folder (and its parents) when it is missing.
Result<void> makeFolder(const QString& folder);
// Waits until the folder's entries (a file made or removed in it) are on disk.
Result<void> syncFolder(const QString& folder);
// Removes the file and waits until that is on disk.
Result<void> removeFile(const QString& path);

}  // namespace sortilo::record
