#pragma once

#include <cstdint>

namespace sortilo {

class Form1;

// The draw buttons: index 0 is Start ("开始"), 1 is Stop ("结束"). Checks the settings first; a
// failed check shows its message and changes nothing, so a rolling draw keeps rolling.
void Command3_Click(Form1& form, int index);

// Any change of the draw-count text, by the operator or by the program, brings Start back on top.
void Text1_Change(Form1& form);

// Start after its checks: Stop in its place with the focus, the new count, ticks every 100 ms.
void Start(Form1& form, int16_t count);

// Stop after its check: records the picks of the last tick as the newest group and shows it; in
// remove mode the drawn names leave the pool. Ignored until the running draw has picked.
void Stop(Form1& form);

// A tick of the draw timer: skipped once after a Stop, a reset or a refused tick; otherwise a
// fresh pick whose first name the display shows.
void Timer1_Timer(Form1& form);

// The pick of one tick. A count above the pool stops the draw with a message instead.
void 抽签函数(Form1& form);

// Records the picks of the last tick as group groupCount, in pick order.
void 导入抽中名单(Form1& form);

// Remove mode: the drawn names leave the pool, which closes up; its list and count follow.
void removeDrawnNames(Form1& form);

// The pool list List1(0) refilled from the pool, and its count in Label3.
void showPool(Form1& form);

// Label3: the number of names left in the pool, e.g. 25可抽值.
void showPoolCount(Form1& form);

}  // namespace sortilo
