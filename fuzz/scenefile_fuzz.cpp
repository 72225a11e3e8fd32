// scenefile_fuzz.cpp - libFuzzer target: the scene-file reader and writer on any bytes.
#include <cstddef>
#include <cstdint>

#include "scenefile/lws_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    scenefile::fuzzParseAndRender(data, size);
    return 0;
}
