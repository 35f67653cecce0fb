#pragma once

#include <cstddef>
#include <cstdint>

enum class FuzzEditOutcome { Refused, Edited, Broken };

// Takes `size` bytes as the export workbook (an input that is no compound file is packed into
// one as its Workbook stream) and makes the export's edit of it in a file of its own: opened and
// refused with a reason, or edited and saved into a file that opens again, or refused at the
// save with the file left as it was. Anything else is Broken. Shared by the fuzz target and the
// test that replays its findings.
FuzzEditOutcome fuzzEdit(const uint8_t* data, size_t size);
