#include "FuzzWorkbook.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (fuzzWorkbook(data, size) != 0) {
        std::abort();  // a refusal without a reason
    }
    return 0;
}
