#include "record/FileJournal.h"

#include "record/RecordLine.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace sortilo::record {

namespace {

QString secretPathOf(const QString& recordPath) {
    return recordPath.chopped(RecordSuffix.size()) + SecretSuffix;
}

// The start of the last line and its seq, from a record's whole lines.
struct LastLine {
    int seq = -1;
    QByteArray hash;
};

LastLine lastLine(const QByteArray& wholeLines) {
    if (wholeLines.isEmpty()) {
        return {};
    }
    const qsizetype start = wholeLines.lastIndexOf('\n', wholeLines.size() - 2) + 1;
    const QByteArray line = wholeLines.mid(start, wholeLines.size() - 1 - start);
    const qsizetype at = line.indexOf("\"seq\":");
    const int seq = at < 0 ? -1 : line.mid(at + 6, line.indexOf(',', at) - at - 6).toInt();
    return {seq, lineHash(line)};
}

// Whether the last of these lines closes its record.
bool isCloseLine(const QByteArray& lines) {
    if (!lines.endsWith('\n')) {
        return false;
    }
    const qsizetype start = lines.lastIndexOf('\n', lines.size() - 2) + 1;
    return lines.mid(start).contains("\"type\":\"close\"");
}

}  // namespace

FileJournal::FileJournal(QString folder, QString version)
    : folder_(std::move(folder)), version_(std::move(version)) {}

Result<void> FileJournal::createFiles(const QString& stamp, const QByteArray& secret) {
    // Two sessions in one second get distinct names; the secret file is made first, so a record
    // without one beside it is never a session still open.
    for (int n = 1;; ++n) {
        const QString base =
            QDir(folder_).filePath(n == 1 ? stamp : QStringLiteral("%1-%2").arg(stamp).arg(n));
        if (QFileInfo::exists(base + RecordSuffix) || QFileInfo::exists(base + SecretSuffix)) {
            continue;
        }
        Result<SyncedFile> kept = SyncedFile::create(base + SecretSuffix);
        if (!kept) {
            return kept.error();
        }
        secret_ = std::move(*kept);
        secretPath_ = base + SecretSuffix;
        secret_.lock();
        if (Result<void> done = secret_.append(secret.toHex() + '\n'); !done) {
            return done;
        }
        Result<SyncedFile> record = SyncedFile::create(base + RecordSuffix);
        if (!record) {
            return record.error();
        }
        record_ = std::move(*record);
        recordPath_ = base + RecordSuffix;
        return syncFolder(folder_);
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
    // A line a failed write left half written goes first: it recorded nothing anybody saw.
    Result<void> done = record_.truncate(size_);
    if (done) {
        done = record_.append(closeLine(mark_.lines, mark_.lastLineHash, secretBytes_) + '\n');
    }
    record_.close();
    if (done) {
        secret_.close();
        done = removeFile(secretPath_);
    }
    recordPath_.clear();
    return done;
}

namespace {

// One abandoned record closed: returns false when another program holds it.
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
    if (!record) {
        return record.error();
    }
    const Result<QByteArray> bytes = record->readAll();
    if (!bytes) {
        return bytes.error();
    }
    const QByteArray whole = bytes->left(bytes->lastIndexOf('\n') + 1);
    Result<void> done;
    if (whole.isEmpty()) {
        // The session ended before its first line: nobody saw anything of it.
        record->close();
        done = removeFile(recordPath);
    } else if (!isCloseLine(whole)) {
        const LastLine last = lastLine(whole);
        done = record->truncate(whole.size());
        if (done) {
            done = record->append(closeLine(last.seq + 1, last.hash, seed) + '\n');
        }
    }
    if (done && secret.isOpen()) {
        secret.close();
        done = removeFile(secretPath);
    }
    return done ? Result<bool>(true) : Result<bool>(done.error());
}

bool isClosed(const QString& recordPath) {
    QFile file(recordPath);
    return !file.open(QIODevice::ReadOnly) || isCloseLine(file.readAll());
}

}  // namespace

Result<int> closeAbandonedRecords(const QString& folder) {
    int closed = 0;
    const QStringList records =
        QDir(folder).entryList({QLatin1Char('*') + RecordSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : records) {
        const QString path = QDir(folder).filePath(name);
        if (isClosed(path) && !QFileInfo::exists(secretPathOf(path))) {
            continue;
        }
        const Result<bool> done = closeAbandoned(path);
        if (!done) {
            return done.error();
        }
        closed += *done ? 1 : 0;
    }
    return closed;
}

}  // namespace sortilo::record
