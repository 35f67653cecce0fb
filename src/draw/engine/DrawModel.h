#pragma once

#include "draw/engine/DrawLimits.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

namespace sortilo {

// A recorded group: its number (1 to 50) and its members, each the roster index of the entry
// drawn, in pick order. Two entries of one name stay two people.
struct Group {
    int number = 0;
    QList<int> members;
    bool keep = true;  // drawn with 是: its names stayed in the pool
};

// What happened in a draw session, in order: the history a record of the draw is written from.
struct GroupDrawn {
    int group = 0;
    int count = 0;
    bool keep = true;
    QList<int> picks;  // roster indices, in pick order
    QString title;     // the group's title when it was drawn
};
using DrawEvent = std::variant<GroupDrawn>;

// What one draw session holds between two imports: the roster as imported (an entry's index is
// its identity), the pool of entries that can still be drawn, the recorded groups, the titles of
// the 50 groups and the history of what happened.
class DrawModel {
public:
    DrawModel();

    // A new session on these names (the first 2000): every entry in the pool, no groups.
    void startSession(const QStringList& names);
    // No groups and no history; the roster, the pool and the titles stay.
    void clearGroups();

    const QStringList& roster() const { return roster_; }
    // Roster indices in pool order.
    const QList<int>& pool() const { return pool_; }
    QStringList names(const QList<int>& entries) const;
    QStringList poolNames() const { return names(pool_); }

    const QList<Group>& groups() const { return groups_; }
    int groupCount() const { return static_cast<int>(groups_.size()); }
    bool groupsFull() const { return groupCount() >= MaxGroups; }
    // Group `number`, 1 to groupCount().
    const Group& group(int number) const;
    QStringList groupNames(int number) const;

    // The title of group `number` (1 to 50), drawn or not.
    const QString& title(int number) const;
    // Groups 1 to n take these n titles (at most 50), every other group its default one.
    void setTitles(const QStringList& titles);

    // The picks become the next group; drawn with 否 they leave the pool, the rest keeping their
    // order.
    const Group& recordGroup(const QList<int>& picks, bool keep);

    const QList<DrawEvent>& history() const { return history_; }

private:
    QStringList roster_;
    QList<int> pool_;
    QList<Group> groups_;
    QStringList titles_;
    QList<DrawEvent> history_;
};

}  // namespace sortilo
