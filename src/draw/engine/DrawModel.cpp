#include "draw/engine/DrawModel.h"

#include "draw/engine/CommittedDraw.h"

#include <QSet>

#include <numeric>

namespace sortilo {

namespace {

QString defaultTitle(int number) {
    return QStringLiteral("第%1组").arg(number);
}

}  // namespace

DrawModel::DrawModel() {
    setTitles({});
}

void DrawModel::startSession(const QStringList& names, const QByteArray& secret) {
    roster_ = names.mid(0, MaxRoster);
    pool_.resize(roster_.size());
    std::iota(pool_.begin(), pool_.end(), 0);
    secret_ = secret;
    commitment_ = committed::commitment(secret);
    digest_ = committed::rosterDigest(roster_);
    entropy_.reset();
    clearGroups();
}

void DrawModel::addEntropy(const QString& text) {
    Q_ASSERT(canAddEntropy());
    entropy_ = text;
    history_.append(EntropyAdded{text});
}

void DrawModel::clearGroups() {
    groups_.clear();
    history_.clear();
}

QStringList DrawModel::names(const QList<int>& entries) const {
    QStringList result;
    result.reserve(entries.size());
    for (const int entry : entries) {
        result << roster_[entry];
    }
    return result;
}

const Group& DrawModel::group(int number) const {
    return groups_[number - 1];
}

QStringList DrawModel::groupNames(int number) const {
    return names(group(number).members);
}

const QString& DrawModel::title(int number) const {
    return titles_[number - 1];
}

void DrawModel::setTitles(const QStringList& titles) {
    titles_ = titles.mid(0, MaxGroups);
    for (int g = static_cast<int>(titles_.size()) + 1; g <= MaxGroups; ++g) {
        titles_ << defaultTitle(g);
    }
}

QByteArray DrawModel::sessionKey() const {
    return committed::sessionKey(secret_, digest_, entropy_.value_or(QString()));
}

void DrawModel::takeOutOfPool(const QList<int>& entries) {
    const QSet<int> out(entries.begin(), entries.end());
    pool_.removeIf([&out](int entry) { return out.contains(entry); });
}

GroupDrawn DrawModel::nextGroup(int count, bool keep) const {
    GroupDrawn drawn;
    drawn.group = groupCount() + 1;
    drawn.count = count;
    drawn.keep = keep;
    drawn.picks = committed::picks(sessionKey(), drawn.group, drawn.attempt, pool_, count);
    drawn.title = title(drawn.group);
    return drawn;
}

const Group& DrawModel::recordGroup(const GroupDrawn& drawn) {
    Q_ASSERT(drawn.group == groupCount() + 1);
    groups_.append(Group{drawn.group, drawn.picks, drawn.keep, drawn.attempt});
    history_.append(drawn);
    if (!drawn.keep) {
        takeOutOfPool(drawn.picks);
    }
    return groups_.last();
}

QList<int> DrawModel::replacementsFor(int group) const {
    const QList<int>& members = this->group(group).members;
    const QSet<int> taken(members.begin(), members.end());
    QList<int> candidates = pool_;
    candidates.removeIf([&taken](int entry) { return taken.contains(entry); });
    return candidates;
}

Redrawn DrawModel::nextRedraw(int group, const QList<int>& absent) const {
    Redrawn redrawn;
    redrawn.group = group;
    redrawn.absent = absent;
    redrawn.attempt = this->group(group).attempts + 1;
    redrawn.picks = committed::picks(sessionKey(), group, redrawn.attempt, replacementsFor(group),
                                     static_cast<int>(absent.size()));
    return redrawn;
}

void DrawModel::recordRedraw(const Redrawn& redrawn) {
    Group& group = groups_[redrawn.group - 1];
    for (qsizetype k = 0; k < redrawn.absent.size(); ++k) {
        group.members[group.members.indexOf(redrawn.absent[k])] = redrawn.picks[k];
    }
    group.attempts = redrawn.attempt;
    history_.append(redrawn);
    takeOutOfPool(redrawn.absent);
    if (!group.keep) {
        takeOutOfPool(redrawn.picks);
    }
}

}  // namespace sortilo
