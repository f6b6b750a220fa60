#include "analysis/fibre_arrays.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "analysis/material_laws.h"

namespace qav {

namespace {

struct Entry {
    int law;  // 0 concrete, 1 steel
    double p1, p2;
    int32_t fibre;
};

// Sums over the fibres [b, e) of one group; two sets of sums let consecutive fibres overlap in
// the pipeline.
template <class Law>
void sumGroup(const FibreArrays& f, std::size_t b, std::size_t e, const double abc[3], Law law,
              double s[6]) {
    const double a1 = abc[0], a2 = abc[1], a3 = abc[2];
    const double* X = f.x.data();
    const double* Y = f.y.data();
    const double* A = f.area.data();
    std::size_t j = b;
    for (; j + 1 < e; j += 2) {
        const double f0 = law(a1 + a2 * X[j] + a3 * Y[j]) * A[j];
        const double f1 = law(a1 + a2 * X[j + 1] + a3 * Y[j + 1]) * A[j + 1];
        s[0] += f0;
        s[1] += f0 * X[j];
        s[2] += f0 * Y[j];
        s[3] += f1;
        s[4] += f1 * X[j + 1];
        s[5] += f1 * Y[j + 1];
    }
    if (j < e) {
        const double f0 = law(a1 + a2 * X[j] + a3 * Y[j]) * A[j];
        s[0] += f0;
        s[1] += f0 * X[j];
        s[2] += f0 * Y[j];
    }
}

// The stiffness pass works on four fibres at a time in vectors of four doubles (the
// compiler's vector extension: one AVX2 register, or two SSE2 registers in the plain copy).
// Lane l sums the fibres whose index within their group is l modulo 4, in order, and the lanes
// are added at the end in a fixed order, so the sums are the same whatever the register width.
#if defined(__GNUC__) && !defined(__clang__)
// The vectors never cross this file (every function taking one is internal), so the note that
// their passing differs with and without AVX does not concern us.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif
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

struct StiffnessSums {
    V4 s[3] = {};
    V4 kt[6] = {};
    V4 ks[6] = {};
};

// The sums of w, w X, w Y, w X X, w X Y, w Y Y (a stiffness with the modulus times area w).
inline void addStiffness(V4 (&k)[6], V4 w, V4 x, V4 y) {
    k[0] += w;
    k[1] += w * x;
    k[2] += w * y;
    k[3] += w * x * x;
    k[4] += w * x * y;
    k[5] += w * y * y;
}

// Four fibres' forces and stiffness sums, with (sig, et, es) their stresses, tangent and
// secant moduli.
template <bool Secant>
inline void addFibres(StiffnessSums& acc, V4 x, V4 y, V4 area, V4 sig, V4 et, V4 es) {
    const V4 fo = sig * area;
    acc.s[0] += fo;
    acc.s[1] += fo * x;
    acc.s[2] += fo * y;
    addStiffness(acc.kt, et * area, x, y);
    if constexpr (Secant)
        addStiffness(acc.ks, es * area, x, y);
    else
        (void)es;
}

// Forces, tangent and secant sums over the fibres [b, e) of one group; law(eps, sig, et, es)
// gives stresses, slopes and secant moduli of four strains. A short last block is filled with
// fibres of no area.
template <bool Secant, class Law>
inline void sumGroupStiffness(const FibreArrays& f, std::size_t b, std::size_t e,
                              const double abc[3], Law law, StiffnessSums& acc) {
    const V4 a1 = splat(abc[0]), a2 = splat(abc[1]), a3 = splat(abc[2]);
    const double* X = f.x.data();
    const double* Y = f.y.data();
    const double* A = f.area.data();
    auto block = [&](V4 x, V4 y, V4 area) {
        V4 sig, et, es;
        law(a1 + a2 * x + a3 * y, sig, et, es);
        addFibres<Secant>(acc, x, y, area, sig, et, es);
    };
    std::size_t j = b;
    for (; j + 4 <= e; j += 4) block(load4(X + j), load4(Y + j), load4(A + j));
    if (j < e) block(loadTail(X + j, e - j), loadTail(Y + j, e - j), loadTail(A + j, e - j));
}

}  // namespace

FibreArrays::FibreArrays(const SectionModel& m) {
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(m.mesh.NFIB > 0 ? m.mesh.NFIB : 0));
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE) {
            entries.push_back({0, f.FC, f.EPS_0, j});
        } else if (f.TY == FIB_STEEL || f.TY == FIB_REBAR) {
            entries.push_back({1, steelLawStrength(f.FY1), 0, j});
        } else {
            const double force = f.STRESS * f.AREA;
            fixedForce[0] += force;
            fixedForce[1] += force * f.X;
            fixedForce[2] += force * f.Y;
            ++otherCount;
        }
    }
    // Same law and values together; mesh order kept within a group.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.law, a.p1, a.p2) < std::tie(b.law, b.p1, b.p2);
    });
    const std::size_t n = entries.size();
    x.resize(n);
    y.resize(n);
    area.resize(n);
    fibre.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Entry& e = entries[i];
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(e.fibre)];
        x[i] = f.X;
        y[i] = f.Y;
        area[i] = f.AREA;
        fibre[i] = e.fibre;
        if (i == 0 || e.law != entries[i - 1].law || !(e.p1 == entries[i - 1].p1) ||
            !(e.p2 == entries[i - 1].p2)) {
            FibreGroup g;
            g.concrete = e.law == 0;
            g.fc = e.p1;
            g.eps0 = e.p2;
            g.fy = e.p1;
            g.begin = i;
            groups.push_back(g);
        }
        groups.back().end = i + 1;
    }
    for (const ControlPoint& c : strainControlPoints(m)) {
        cpX.push_back(c.X);
        cpY.push_back(c.Y);
    }
}

std::vector<ControlPoint> strainControlPoints(const SectionModel& m) {
    std::vector<ControlPoint> out;
    for (int j = 1; j <= m.mesh.NCFIB; ++j)
        out.push_back({m.mesh.CFIB[static_cast<std::size_t>(j)].X,
                       m.mesh.CFIB[static_cast<std::size_t>(j)].Y});
    if (out.empty())
        for (int j = 1; j <= m.mesh.NFIB; ++j)
            out.push_back({m.mesh.FIB[static_cast<std::size_t>(j)].X,
                           m.mesh.FIB[static_cast<std::size_t>(j)].Y});
    return out;
}

void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]) {
    double s[6] = {0, 0, 0, 0, 0, 0};
    for (const FibreGroup& g : f.groups) {
        if (g.concrete) {
            const double fc = g.fc, e0 = g.eps0;
            sumGroup(
                f, g.begin, g.end, abc,
                [fc, e0](double eps) {
                    double sig;
                    CONCRETE01(fc, e0, eps, sig);
                    return sig;
                },
                s);
        } else {
            const double fy = g.fy;
            sumGroup(
                f, g.begin, g.end, abc,
                [fy](double eps) {
                    double sig;
                    STEEL01(STEEL_LAW_MODULUS, fy, eps, sig);
                    return sig;
                },
                s);
        }
    }
    ss[0] = s[0] + s[3] + f.fixedForce[0];
    ss[1] = s[1] + s[4] + f.fixedForce[1];
    ss[2] = s[2] + s[5] + f.fixedForce[2];
}

namespace {
template <bool Secant>
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The pass is nearly all of an analysis's time: where the processor has AVX2, a copy compiled
// for it works on four lanes at once (the same sums in the same order as the plain copy).
__attribute__((target_clones("avx2", "default")))
#endif
void sumStiffness(const FibreArrays& f, const double abc[3], double ss[3], double kt[6], double ks[6]) {
    StiffnessSums acc;
    const V4 zero = splat(0), one = splat(1);
    for (const FibreGroup& g : f.groups) {
        if (g.concrete) {
            // The parabola on the strain clamped to [0, EPS_0]: 0 in tension, FC on the plateau.
            const V4 fc = splat(g.fc), e0 = splat(g.eps0), slope = splat(2 * g.fc / g.eps0);
            sumGroupStiffness<Secant>(
                f, g.begin, g.end, abc,
                [&](V4 eps, V4& sig, V4& et, V4& es) {
                    const V4 c = eps / e0;
                    V4 cc = c < zero ? zero : c;
                    cc = cc > one ? one : cc;
                    sig = fc * (2 * cc - cc * cc);
                    et = c > zero ? slope * (one - cc) : zero;
                    if constexpr (Secant)
                        es = eps > zero ? sig / eps : zero;
                    else
                        es = zero;
                },
                acc);
        } else {
            const double ey = g.fy / STEEL_LAW_MODULUS;
            const V4 fy = splat(g.fy), E = splat(STEEL_LAW_MODULUS), hi = splat(ey),
                     lo = splat(-ey);
            sumGroupStiffness<Secant>(
                f, g.begin, g.end, abc,
                [&](V4 eps, V4& sig, V4& et, V4& es) {
                    const V4Mask elastic = eps >= lo && eps <= hi;
                    const V4 yielded = eps > zero ? fy : -fy;
                    sig = elastic ? E * eps : yielded;
                    et = elastic ? E : zero;
                    if constexpr (Secant)
                        es = elastic ? E : yielded / eps;
                    else
                        es = zero;
                },
                acc);
        }
    }
    for (int i = 0; i < 3; ++i) ss[i] = laneTotal(acc.s[i]) + f.fixedForce[i];
    for (int i = 0; i < 6; ++i) {
        kt[i] = laneTotal(acc.kt[i]);
        if constexpr (Secant) ks[i] = laneTotal(acc.ks[i]);
    }
}
}  // namespace

void sumFibreForcesAndStiffness(const FibreArrays& f, const double abc[3], double ss[3],
                                double kt[6], double ks[6]) {
    // The secant sums cost a third of the pass; most passes need only the tangent.
    if (ks != nullptr)
        sumStiffness<true>(f, abc, ss, kt, ks);
    else
        sumStiffness<false>(f, abc, ss, kt, nullptr);
}

void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m) {
    for (const FibreGroup& g : f.groups) {
        for (std::size_t j = g.begin; j < g.end; ++j) {
            TFIB& fib = m.mesh.FIB[static_cast<std::size_t>(f.fibre[j])];
            fib.EPS = abc[0] + abc[1] * f.x[j] + abc[2] * f.y[j];
            if (g.concrete) {
                CONCRETE01(g.fc, g.eps0, fib.EPS, fib.STRESS);
            } else {
                STEEL01(STEEL_LAW_MODULUS, g.fy, fib.EPS, fib.STRESS);
            }
        }
    }
    // Fibres of other kinds: the strain is stored, the stress stays.
    if (f.otherCount == 0) return;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        TFIB& fib = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (fib.TY < 1 || fib.TY > 4) fib.EPS = abc[0] + abc[1] * fib.X + abc[2] * fib.Y;
    }
}

}  // namespace qav
