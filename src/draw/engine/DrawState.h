#pragma once

#include "draw/engine/BoundedTable.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace sortilo {

// Limits of what one session between two imports can hold.
inline constexpr int MaxRoster = 2000;
inline constexpr int MaxGroups = 50;
inline constexpr int MaxGroupSize = 1000;
inline constexpr int TitleSets = 6;
inline constexpr int TitlesPerSet = 25;

// Everything the main window keeps between events: the pool, the picks of the running draw, the
// recorded groups with their titles, and the counters that tie buttons, timer and lists together.
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
};

// The tables are large (about 50,000 texts); the window keeps its state on the heap.
inline std::unique_ptr<DrawState> makeDrawState() {
    return std::make_unique<DrawState>();
}

// 标题自动内容生成: group g is titled 第g组 for g = 1..50; entry 0 is not touched.
void 标题自动内容生成(DrawState& state);

// The table part of 数据环境还原: no group recorded, no selection, results emptied. The controls
// part lives with the window's handlers.
void clearGroups(DrawState& state);

}  // namespace sortilo
