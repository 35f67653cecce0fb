#pragma once

#include <QString>
#include <QStringList>

namespace sortilo {

// The names of the sample roster, in row order from row 3.
QStringList sampleRosterNames();

// Writes the files a new application folder needs, each only when it is absent; an existing file
// is never touched. Returns the problems met, one line each (empty when all went well).
QStringList writeSampleFiles(const QString& appFolder);

}  // namespace sortilo
