#include "draw/DrawSession.h"

#include <algorithm>

// The session's record and what changes a recorded group: each line is written before the screen
// shows what it records, and a record that cannot be written is told once.
namespace sortilo {

void DrawSession::noteRecord(const Result<RecordMark>& written) {
    if (written) {
        recordMark_ = *written;
        Q_EMIT recordChanged();
        return;
    }
    // A record with a line missing proves nothing: this session writes no more, and the operator
    // hears of it once.
    recordFailed_ = true;
    Q_EMIT recordChanged();
    refuse(written.error());
}

void DrawSession::updateEntropyOffer() {
    if (entropyAllowed() != entropyOffered_) {
        entropyOffered_ = entropyAllowed();
        Q_EMIT entropyAllowedChanged(entropyOffered_);
    }
}

void DrawSession::addEntropy(const QString& text) {
    if (!entropyAllowed()) {
        return;
    }
    model_.addEntropy(text);
    std::optional<Result<RecordMark>> written;
    if (recording()) {
        written = journal_->append(model_, model_.history().last());
    }
    Q_EMIT sessionSealed();
    updateEntropyOffer();
    if (written) {
        noteRecord(*written);
    }
}

Result<QList<int>> DrawSession::absentMembers(const QList<GroupPlace>& absent) const {
    if (absent.isEmpty()) {
        return fault(ErrorKind::NoAbsentSelected);
    }
    const int group = absent.first().group;
    if (std::any_of(absent.begin(), absent.end(),
                    [group](const GroupPlace& place) { return place.group != group; })) {
        return fault(ErrorKind::AbsentInTwoGroups);
    }
    if (rolling()) {
        return fault(ErrorKind::RedrawWhileRolling);
    }
    if (group < 1 || group > model_.groupCount()) {
        return fault(ErrorKind::NoAbsentSelected);
    }
    QList<int> positions;
    for (const GroupPlace& place : absent) {
        positions << place.position;
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    const QList<int>& members = model_.group(group).members;
    QList<int> entries;
    for (const int position : positions) {
        if (position < 0 || position >= members.size()) {
            return fault(ErrorKind::NoAbsentSelected);
        }
        entries << members[position];
    }
    if (model_.replacementsFor(group).size() < entries.size()) {
        return fault(ErrorKind::TooFewToRedraw);
    }
    return entries;
}

void DrawSession::askRedraw(const QList<GroupPlace>& absent) {
    const Result<QList<int>> entries = absentMembers(absent);
    if (!entries) {
        refuse(entries.error());
        return;
    }
    Q_EMIT redrawAsked(absent.first().group, model_.names(*entries), absent);
}

void DrawSession::redrawAbsent(const QList<GroupPlace>& absent) {
    const Result<QList<int>> entries = absentMembers(absent);
    if (!entries) {
        refuse(entries.error());
        return;
    }
    const int number = absent.first().group;
    const Redrawn redrawn = model_.nextRedraw(number, *entries);
    std::optional<Result<RecordMark>> written;
    if (recording()) {
        written = journal_->append(model_, redrawn);
    }
    model_.recordRedraw(redrawn);
    const Group& group = model_.group(number);
    QList<int> replaced;
    for (const int pick : redrawn.picks) {
        replaced << static_cast<int>(group.members.indexOf(pick));
    }
    showGroups();
    showPool();
    Q_EMIT groupRedrawn(number, model_.title(number), model_.names(group.members), replaced);
    if (written) {
        noteRecord(*written);
    }
}

// A record that missed a line is closed all the same: its secret shows what it holds is true.
void DrawSession::closeRecord(CloseMode mode) {
    if (journal_ == nullptr) {
        return;
    }
    if (const Result<void> closed = journal_->close();
        !closed && !recordFailed_ && mode == TellFailure) {
        recordFailed_ = true;
        refuse(closed.error());
    }
}

}  // namespace sortilo
