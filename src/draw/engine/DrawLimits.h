#pragma once

namespace sortilo {

// What one draw session between two imports can hold.
inline constexpr int MaxRoster = 2000;     // names an import takes
inline constexpr int MaxGroups = 50;       // groups recorded
inline constexpr int MaxGroupSize = 1000;  // names in one group

}  // namespace sortilo
