#include "record/FileJournal.h"

#include "record/RecordLine.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace sortilo::record {

namespace {

QString secretPathOf(const QString& recordPath) {
    return recordPath.chopped(RecordSuffix.size()) + SecretSuffix;
}

QString recordPathOf(const QString& secretPath) {
    return secretPath.chopped(SecretSuffix.size()) + RecordSuffix;
}

// Where a record's whole lines end: its last line's seq and hash, and whether it closes it.
struct LastLine {
    int seq = -1;
    QByteArray hash;
    bool closes = false;
};

LastLine lastLine(const QByteArray& wholeLines) {
    if (wholeLines.isEmpty()) {
        return {};
    }
    const qsizetype start = wholeLines.lastIndexOf('\n', wholeLines.size() - 2) + 1;
    const QByteArray line = wholeLines.mid(start, wholeLines.size() - 1 - start);
    const qsizetype at = line.indexOf("\"seq\":");
    const int seq = at < 0 ? -1 : line.mid(at + 6, line.indexOf(',', at) - at - 6).toInt();
    return {seq, lineHash(line), line.contains("\"type\":\"close\"")};
}

// Ends a record of `wholeSize` bytes of whole lines, the last of them `last`: a line a crash or a
// failed write cut short goes (it recorded nothing anybody saw), then the close line reveals the
// secret, or says it was lost. A record without a line is removed: nobody saw anything of it.
// The secret file goes last, once the record no longer needs it.
Result<void> closeRecordFile(SyncedFile& record, const QString& recordPath, qint64 wholeSize,
                             const LastLine& last, const QByteArray& seed, SyncedFile& secret,
                             const QString& secretPath) {
    Result<void> done;
    if (wholeSize == 0) {
        record.close();
        done = removeFile(recordPath);
    } else if (!last.closes) {
        done = record.truncate(wholeSize);
        if (done) {
            done = record.append(closeLine(last.seq + 1, last.hash, seed) + '\n');
        }
    }
    record.close();
    if (done) {
        secret.close();
        done = removeFile(secretPath);
    }
    return done;
}

}  // namespace

FileJournal::FileJournal(QString folder, QString version)
    : folder_(std::move(folder)), version_(std::move(version)) {}

Result<void> FileJournal::createFiles(const QString& stamp, const QByteArray& secret) {
    // Two sessions in one second get distinct names; the secret file is made first and held, so
    // a record without one beside it, or with one nobody holds, is never a session still open.
    for (int n = 1;; ++n) {
        const QString base =
            QDir(folder_).filePath(n == 1 ? stamp : QStringLiteral("%1-%2").arg(stamp).arg(n));
        bool taken = false;
        Result<SyncedFile> kept = SyncedFile::create(base + SecretSuffix, &taken);
        if (taken) {
            continue;
        }
        if (!kept) {
            return kept.error();
        }
        secret_ = std::move(*kept);
        secretPath_ = base + SecretSuffix;
        Result<void> done = secret_.lock() ? secret_.append(secret.toHex() + '\n')
                                           : Error(ErrorKind::RecordNotWritten, secretPath_,
                                                   QStringLiteral("cannot lock the secret"));
        Result<SyncedFile> record = done ? SyncedFile::create(base + RecordSuffix, &taken)
                                         : Result<SyncedFile>(done.error());
        if (record) {
            record_ = std::move(*record);
            recordPath_ = base + RecordSuffix;
            return syncFolder(folder_);
        }
        secret_.close();
        static_cast<void>(removeFile(secretPath_));
        if (!taken) {
            return record.error();
        }
    }
}

Result<RecordMark> FileJournal::open(const DrawModel& session) {
    if (const Result<void> closed = close(); !closed) {
        return closed.error();
    }
    const QDateTime now = QDateTime::currentDateTime();
    Result<void> made = makeFolder(folder_);
    if (made) {
        made = createFiles(now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")), session.secret());
    }
    if (!made) {
        return made.error();
    }
    secretBytes_ = session.secret();
    size_ = 0;
    mark_ = {};
    return write(openLine(0, QByteArray(32, '\0'), session,
                          now.toOffsetFromUtc(now.offsetFromUtc()), version_));
}

Result<RecordMark> FileJournal::append(const DrawModel& session, const DrawEvent& event) {
    if (!record_.isOpen()) {
        return Error(ErrorKind::RecordNotWritten, folder_, QStringLiteral("no session open"));
    }
    return write(eventLine(mark_.lines, mark_.lastLineHash, session, event));
}

Result<RecordMark> FileJournal::write(const QByteArray& line) {
    if (const Result<void> done = record_.append(line + '\n'); !done) {
        return done.error();
    }
    size_ += line.size() + 1;
    mark_ = {mark_.lines + 1, lineHash(line)};
    return mark_;
}

Result<void> FileJournal::close() {
    if (!record_.isOpen()) {
        return {};
    }
    const Result<void> done =
        closeRecordFile(record_, recordPath_, size_, {mark_.lines - 1, mark_.lastLineHash, false},
                        secretBytes_, secret_, secretPath_);
    recordPath_.clear();
    return done;
}

namespace {

// One abandoned record closed: false when another program holds it.
Result<bool> closeAbandoned(const QString& recordPath) {
    const QString secretPath = secretPathOf(recordPath);
    SyncedFile secret;
    QByteArray seed;
    if (QFileInfo::exists(secretPath)) {
        Result<SyncedFile> opened = SyncedFile::open(secretPath);
        if (!opened) {
            return opened.error();
        }
        secret = std::move(*opened);
        if (!secret.lock()) {
            return false;
        }
        const Result<QByteArray> text = secret.readAll();
        seed = text ? QByteArray::fromHex(text->trimmed()) : QByteArray();
    }
    Result<SyncedFile> record = SyncedFile::open(recordPath);
    const Result<QByteArray> bytes =
        record ? record->readAll() : Result<QByteArray>(record.error());
    if (!bytes) {
        return bytes.error();
    }
    const QByteArray whole = bytes->left(bytes->lastIndexOf('\n') + 1);
    const Result<void> done = closeRecordFile(*record, recordPath, whole.size(), lastLine(whole),
                                              seed, secret, secretPath);
    return done ? Result<bool>(true) : Result<bool>(done.error());
}

// Whether the record ends with its close line. Only its end is read: a start reads every record
// of the folder, and closed ones are most of them. A close line is short, so a last line longer
// than what is read is none.
bool isClosed(const QString& recordPath) {
    constexpr qint64 Tail = 4096;
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, file.size() - Tail))) {
        return true;
    }
    const QByteArray tail = file.readAll();
    const bool whole = file.size() <= Tail || tail.lastIndexOf('\n', tail.size() - 2) >= 0;
    return tail.endsWith('\n') && whole && lastLine(tail).closes;
}

// A secret whose record was never made (the program ended in between): nobody holds it, and
// nothing was written with it.
Result<void> removeOrphan(const QString& secretPath) {
    Result<SyncedFile> secret = SyncedFile::open(secretPath);
    if (!secret || !secret->lock()) {
        return {};
    }
    secret->close();
    return removeFile(secretPath);
}

}  // namespace

Result<int> closeAbandonedRecords(const QString& folder) {
    const QDir dir(folder);
    int closed = 0;
    std::optional<Error> first;  // one record that cannot be closed keeps no other open
    for (const QString& name :
         dir.entryList({QLatin1Char('*') + RecordSuffix}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        if (isClosed(path) && !QFileInfo::exists(secretPathOf(path))) {
            continue;
        }
        const Result<bool> done = closeAbandoned(path);
        if (done) {
            closed += *done ? 1 : 0;
        } else if (!first) {
            first = done.error();
        }
    }
    for (const QString& name :
         dir.entryList({QLatin1Char('*') + SecretSuffix}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(recordPathOf(path))) {
            if (const Result<void> removed = removeOrphan(path); !removed && !first) {
                first = removed.error();
            }
        }
    }
    if (first) {
        return *first;
    }
    return closed;
}

}  // namespace sortilo::record
