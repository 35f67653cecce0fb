#pragma once

#include <QtGlobal>

#include <array>

namespace sortilo {

// An indexed control group: members share one name and one handler and differ by a fixed index
// Lo..Hi. A group may have gaps (Label1 has 0-4, 7 and 8); asking for a missing member is a
// programming error.
template <typename T, int Lo, int Hi>
class ControlGroup {
public:
    static constexpr int first = Lo;
    static constexpr int last = Hi;

    T* operator[](int index) const {
        Q_ASSERT_X(index >= Lo && index <= Hi && items_[slot(index)], "ControlGroup",
                   "no such member");
        return items_[slot(index)];
    }
    bool has(int index) const {
        return index >= Lo && index <= Hi && items_[slot(index)] != nullptr;
    }
    void set(int index, T* control) { items_[slot(index)] = control; }

private:
    static size_t slot(int index) { return static_cast<size_t>(index - Lo); }
    std::array<T*, Hi - Lo + 1> items_{};
};

}  // namespace sortilo
