#pragma once

#include "base/Result.h"

#include <QString>

// What a failed result says, for test messages; empty for a success.
template <typename R>
QString failure(const R& result) {
    return result ? QString()
                  : QStringLiteral("kind %1: %2")
                        .arg(int(result.error().kind))
                        .arg(result.error().detail);
}
