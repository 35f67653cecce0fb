#pragma once

#include "draw/engine/DrawJournal.h"
#include "record/RecordFolder.h"

#include <QString>

namespace sortilo::record {

// The draw record on disk: one file per session in the record folder, named by the session's
// start time, each line on disk before the screen shows it. The session's secret waits in a file
// beside the record, readable by the user alone and locked while the session is open, until the
// close line reveals it; after a crash the next start closes the record from it.
class FileJournal : public DrawJournal {
public:
    // `folder` is made at the first write; `version` is the program's, for the open line.
    FileJournal(QString folder, QString version);

    Result<RecordMark> open(const DrawModel& session) override;
    Result<RecordMark> append(const DrawModel& session, const DrawEvent& event) override;
    Result<void> close() override;

    // The record of the open session; empty when none is open.
    const QString& recordPath() const { return recordPath_; }

private:
    Result<void> createFiles(const QString& stamp, const QByteArray& secret);
    Result<RecordMark> write(const QByteArray& line);

    QString folder_;
    QString version_;
    QString recordPath_;
    QString secretPath_;
    SyncedFile record_;
    SyncedFile secret_;
    QByteArray secretBytes_;
    qint64 size_ = 0;  // the bytes of whole lines
    RecordMark mark_;
};

// Closes every record of the folder that a session ended without closing (the program was killed
// or the power went): a last line cut short is cut off, then the close line reveals the secret
// kept beside it, or says it was lost. Records another running program holds are left alone.
// Returns how many were closed.
Result<int> closeAbandonedRecords(const QString& folder);

}  // namespace sortilo::record
