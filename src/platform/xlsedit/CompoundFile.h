#pragma once

#include "base/Result.h"
#include "platform/xls/Container.h"

#include <QByteArray>

namespace sortilo::xlsedit {

// Writes the container anew into memory: every entry with its bytes, class ids and the sector
// size it had.
Result<QByteArray> writeCompoundFile(const xls::CompoundFile& file);

}  // namespace sortilo::xlsedit
