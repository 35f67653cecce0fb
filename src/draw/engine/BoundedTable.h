#pragma once

#include <QtGlobal>

#include <array>

namespace sortilo {

// A table with fixed index bounds Lo..Hi, like the program's draw tables. Access outside the
// bounds is a programming error: asserted in debug builds, caught by the sanitizers in tests.
template <typename T, int Lo, int Hi>
class BoundedTable {
public:
    static constexpr int lower = Lo;
    static constexpr int upper = Hi;

    T& operator()(int i) {
        Q_ASSERT_X(i >= Lo && i <= Hi, "BoundedTable", "index out of bounds");
        return items_[static_cast<size_t>(i - Lo)];
    }
    const T& operator()(int i) const {
        Q_ASSERT_X(i >= Lo && i <= Hi, "BoundedTable", "index out of bounds");
        return items_[static_cast<size_t>(i - Lo)];
    }
    void fill(const T& value) { items_.fill(value); }

private:
    std::array<T, Hi - Lo + 1> items_{};
};

// A two-dimensional table with bounds 0..Hi1 by 0..Hi2, addressed (i, j).
template <typename T, int Hi1, int Hi2>
class BoundedTable2 {
public:
    static constexpr int upper1 = Hi1;
    static constexpr int upper2 = Hi2;

    T& operator()(int i, int j) {
        Q_ASSERT_X(i >= 0 && i <= Hi1 && j >= 0 && j <= Hi2, "BoundedTable2",
                   "index out of bounds");
        return items_[static_cast<size_t>(j) * (Hi1 + 1) + static_cast<size_t>(i)];
    }
    const T& operator()(int i, int j) const {
        Q_ASSERT_X(i >= 0 && i <= Hi1 && j >= 0 && j <= Hi2, "BoundedTable2",
                   "index out of bounds");
        return items_[static_cast<size_t>(j) * (Hi1 + 1) + static_cast<size_t>(i)];
    }

private:
    // Stored column by column (j outer), so one group's names lie together.
    std::array<T, (Hi1 + 1) * (Hi2 + 1)> items_{};
};

}  // namespace sortilo
