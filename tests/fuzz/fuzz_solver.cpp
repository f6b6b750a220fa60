// libFuzzer entry point: see fuzz_bodies.h for what the target checks.
#include "fuzz/fuzz_main.h"

QAVSEC_FUZZ_TARGET(qav::fuzz::solver)
