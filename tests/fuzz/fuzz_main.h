#pragma once
// One libFuzzer entry point around a body of fuzz_bodies.h: a broken promise aborts with its
// text, which libFuzzer reports as a crash and saves as an artifact.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_bodies.h"

#define QAVSEC_FUZZ_TARGET(body)                                                   \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) { \
        const std::string broken = body(data, size);                               \
        if (!broken.empty()) {                                                     \
            std::fprintf(stderr, "%s\n", broken.c_str());                          \
            std::abort();                                                          \
        }                                                                          \
        return 0;                                                                  \
    }
