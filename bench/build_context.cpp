// Every benchmark program names the build type and flags it was compiled with in its context
// lines, so that a figure is never quoted from a slow build by mistake.
#include <benchmark/benchmark.h>

namespace {

const bool kBuildNamed = [] {
    benchmark::AddCustomContext("qavsec_build", QAVSEC_BUILD_FLAGS);
    return true;
}();

}  // namespace
