// libFuzzer entry: every input goes through the export's steps on a file of its own. An input
// that is not a compound file is taken as a Workbook stream and packed into one, so that most
// mutations reach the record parsing instead of stopping at the container.
#include "FuzzEdit.h"

#include <glib.h>

#include <cstdlib>

namespace {

void quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // libgsf reports damaged containers on stderr; the result codes say it already.
    g_log_set_default_handler(quiet, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (fuzzEdit(data, size) == FuzzEditOutcome::Broken) {
        std::abort();
    }
    return 0;
}
