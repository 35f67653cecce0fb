#pragma once

#include "draw/engine/DrawLimits.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace sortilo {

// A recorded group: its number (1 to 50) and its members, each the roster index of the entry
// drawn, in pick order. Two entries of one name stay two people.
struct Group {
    int number = 0;
    QList<int> members;
    bool keep = true;  // drawn with 是: its names stayed in the pool
    int attempts = 1;  // its draw, and one more for every replacement draw
};

// What happened in a draw session, in order: the history a record of the draw is written from.
// The room's own text, mixed into every group's picks.
struct EntropyAdded {
    QString text;
};
struct GroupDrawn {
    int group = 0;
    int attempt = 1;
    int count = 0;
    bool keep = true;
    QList<int> picks;  // roster indices, in pick order
    QString title;     // the group's title when it was drawn
};
// Members of a group who were not in the room, and who took their places: the k-th replacement
// the place of the k-th absent member, in the group's order.
struct Redrawn {
    int group = 0;
    QList<int> absent;  // roster indices, in the group's order
    int attempt = 2;
    QList<int> picks;  // roster indices, in pick order
};
using DrawEvent = std::variant<EntropyAdded, GroupDrawn, Redrawn>;

// What one draw session holds between two imports: the roster as imported (an entry's index is
// its identity), the pool of entries that can still be drawn, the recorded groups, the titles of
// the 50 groups, the history of what happened, and what fixes every group's picks before the
// first draw: a secret, its commitment, the roster's digest and the room's text.
class DrawModel {
public:
    DrawModel();

    // A new session on these names (the first 2000) under a new secret: every entry in the pool,
    // no groups.
    void startSession(const QStringList& names, const QByteArray& secret);

    bool started() const { return !secret_.isEmpty(); }
    const QByteArray& secret() const { return secret_; }
    const QByteArray& commitment() const { return commitment_; }
    const QByteArray& rosterDigest() const { return digest_; }
    const std::optional<QString>& entropy() const { return entropy_; }
    // The room's text counts only when it comes before the first group, and only once.
    bool canAddEntropy() const { return started() && groups_.isEmpty() && !entropy_; }
    void addEntropy(const QString& text);

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

    // The next group of `count` names from the pool, as the committed derivation gives it.
    // Requires count <= pool().size().
    GroupDrawn nextGroup(int count, bool keep) const;
    // The group becomes the next recorded one; drawn with 否 its names leave the pool, the rest
    // keeping their order.
    const Group& recordGroup(const GroupDrawn& drawn);

    // Who can replace absent members of a group: the pool without the group's members, absent or
    // present.
    QList<int> replacementsFor(int group) const;
    // Replacements for these members of the group (given in the group's order), by the committed
    // derivation with the group's next attempt. Requires as many candidates as absent members.
    Redrawn nextRedraw(int group, const QList<int>& absent) const;
    // The absent members leave the group and the pool, whatever the group's mode; the replacements
    // take their places, and leave the pool too when the group was drawn with 否.
    void recordRedraw(const Redrawn& redrawn);

    const QList<DrawEvent>& history() const { return history_; }

private:
    QStringList roster_;
    QList<int> pool_;
    QList<Group> groups_;
    QStringList titles_;
    QList<DrawEvent> history_;
    QByteArray secret_;
    QByteArray commitment_;
    QByteArray digest_;
    std::optional<QString> entropy_;

    // The key every group's picks derive from: all of the above.
    QByteArray sessionKey() const;
    void clearGroups();
    void takeOutOfPool(const QList<int>& entries);
};

}  // namespace sortilo
