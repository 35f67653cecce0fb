#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace sortilo::xlsedit {

// Replaces the file at path with bytes so that at every moment the path holds either the old
// file or the complete new one: a temporary file in the same folder, synced to disk, read back
// and checked with `check`, then renamed over the original, with the original's permissions,
// owner and group as far as this process may set them. On failure the original is left
// untouched and the temporary file removed; temporary files that a crash left behind are removed
// by the next save. Read-only files and folders are refused even for a user the system would let
// through, as a spreadsheet program refuses them; so is a file with more than one name (hard
// links), which the new file would split.
Result<void> replaceFileAtomically(const QString& path, const QByteArray& bytes,
                                   const std::function<bool(const QByteArray&)>& check);

}  // namespace sortilo::xlsedit
