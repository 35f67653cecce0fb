#pragma once

#include "draw/engine/BoundedTable.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace sortilo {

// Limits of what one session between two imports can hold.
inline constexpr int MaxRoster = 2000;
inline constexpr int MaxGroups = 50;
inline constexpr int MaxGroupSize = 1000;
inline constexpr int TitleSets = 6;
inline constexpr int TitlesPerSet = 25;

// Everything the draw keeps between events: the pool, the picks of the running draw, the recorded
// groups with their titles, the title sets, and the counters that tie the draw together.
// Tables are used from index 1; index 0 exists and holds nothing of the draw.
struct DrawState {
    BoundedTable<QString, 0, MaxRoster> roster;
    int16_t rosterCount = 0;
    BoundedTable<int16_t, 0, MaxRoster> drawPicks;
    QString rollingName;
    int16_t drawCount = 0;
    int16_t groupCount = 0;
    int16_t skipNextTick = 0;
    int16_t firstShownGroup = 0;
    BoundedTable<int16_t, 0, MaxGroups> groupSizes;
    BoundedTable2<QString, MaxGroupSize, MaxGroups> groupResults;
    BoundedTable<QString, 0, MaxGroups> groupTitles;
    BoundedTable<int16_t, 0, MaxGroups> groupSelected;
    BoundedTable2<QString, TitleSets, TitlesPerSet + 1> titleSets;
    int16_t currentTitleSet = 0;
    // Whether the running draw has made its first pick: Start and the reset of an import clear it,
    // a tick's pick sets it, and Stop records a group only when it is set (a Stop right after
    // Start has nothing to record).
    bool currentDrawPicked = false;
};

// The tables are large (about 50,000 texts); they live on the heap.
inline std::unique_ptr<DrawState> makeDrawState() {
    return std::make_unique<DrawState>();
}

// The default titles: group g is titled 第g组 for g = 1..50; entry 0 is not touched.
void setDefaultTitles(DrawState& state);

// The tables' part of the reset before an import: no group recorded, no selection, results
// emptied, and the next tick skipped.
void clearGroups(DrawState& state);

// The pool, roster(1..rosterCount), in pool order.
QStringList poolNames(const DrawState& state);

// The names of group g in pick order.
QStringList groupNames(const DrawState& state, int g);

// The first of the four shown groups that puts the newest group on screen: in the last of the
// four lists once there are more than four groups.
inline int16_t firstGroupShowingNewest(int groupCount) {
    return static_cast<int16_t>(groupCount < 5 ? 1 : groupCount - 3);
}

}  // namespace sortilo
