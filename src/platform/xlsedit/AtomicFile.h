#pragma once

#include "platform/SpreadsheetService.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace sortilo::xlsedit {

// Replaces the file at path with bytes so that at every moment the path holds either the old
// file or the complete new one: a temporary file in the same folder, synced to disk, read back
// and checked with `check`, then renamed over the original. On failure the original is left
// untouched and the temporary file removed. Read-only files and folders are refused even for
// a user the system would let through, as a spreadsheet program refuses them.
SheetError replaceFileAtomically(const QString& path, const QByteArray& bytes,
                                 const std::function<bool(const QByteArray&)>& check);

}  // namespace sortilo::xlsedit
