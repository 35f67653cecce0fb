#include "draw/engine/DrawModel.h"

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

void DrawModel::startSession(const QStringList& names) {
    roster_ = names.mid(0, MaxRoster);
    pool_.resize(roster_.size());
    std::iota(pool_.begin(), pool_.end(), 0);
    clearGroups();
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

const Group& DrawModel::recordGroup(const QList<int>& picks, bool keep) {
    const int number = groupCount() + 1;
    groups_.append(Group{number, picks, keep});
    history_.append(GroupDrawn{number, static_cast<int>(picks.size()), keep, picks, title(number)});
    if (!keep) {
        const QSet<int> drawn(picks.begin(), picks.end());
        pool_.removeIf([&drawn](int entry) { return drawn.contains(entry); });
    }
    return groups_.last();
}

}  // namespace sortilo
