#pragma once

#include <cstddef>
#include <cstdint>

// Reads `size` bytes as a workbook file's content and touches everything a caller can ask
// for. Shared by the libFuzzer target and the test that replays its findings.
int fuzzWorkbook(const uint8_t* data, size_t size);
