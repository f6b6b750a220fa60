#pragma once
// Four doubles at a time for the fibre passes (the compiler's vector extension: one AVX2
// register, or two SSE2 registers in the plain copy). A pass's lane l sums the items whose index
// is l modulo 4, in order, and the lanes are added at the end in a fixed order, so the sums are
// the same whatever the register width. Only for the passes' own files: the vectors never cross
// a function a file exports (so GCC's note that their passing differs with and without AVX,
// -Wpsabi, is turned off for the library).
#include <cstddef>
#include <cstring>

// Where the processor has AVX2, a copy of a pass compiled for it works on four lanes at once
// (the same sums in the same order as the plain copy).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define QAVSEC_LANES_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QAVSEC_LANES_CLONES
#endif

namespace qav::lanes {

typedef double V4 __attribute__((vector_size(32)));
typedef long long V4Mask __attribute__((vector_size(32)));

inline V4 load4(const double* p) {
    V4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
// The first n (< 4) values at p, the other lanes 0.
inline V4 loadTail(const double* p, std::size_t n) {
    double t[4] = {0, 0, 0, 0};
    std::memcpy(t, p, n * sizeof(double));
    return load4(t);
}
inline V4 splat(double v) {
    return V4{v, v, v, v};
}
inline double laneTotal(V4 v) {
    return (v[0] + v[1]) + (v[2] + v[3]);
}

}  // namespace qav::lanes
