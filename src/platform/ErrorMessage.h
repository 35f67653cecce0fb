#pragma once

#include "base/Result.h"

#include <QString>

namespace sortilo {

// The one sentence for the operator about an error: it names the file (and the cell, or the
// kind of file) and what is wrong. Empty for an error that has no message of its own.
QString errorMessage(const Error& error);

}  // namespace sortilo
