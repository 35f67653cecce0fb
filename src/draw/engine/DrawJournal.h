#pragma once

#include "base/Result.h"
#include "draw/engine/DrawModel.h"

#include <QByteArray>

namespace sortilo {

// How far the record of a session has come: what the audience window shows after each group, so
// a photograph of the screen can be matched with the record's lines.
struct RecordMark {
    int lines = 0;            // lines the record holds
    QByteArray lastLineHash;  // SHA-256 of its last line
};

// Where a draw session is written down as it happens: the draw record. Each call returns once
// what it wrote is on disk, so the screen never shows what the record does not hold.
class DrawJournal {
public:
    virtual ~DrawJournal() = default;
    // A new session's first line; its secret is kept until close() reveals it.
    virtual Result<RecordMark> open(const DrawModel& session) = 0;
    // The session's newest event, the last of its history.
    virtual Result<RecordMark> append(const DrawModel& session, const DrawEvent& event) = 0;
    // The session's last line, which reveals its secret; nothing when no session is open.
    virtual Result<void> close() = 0;
};

}  // namespace sortilo
