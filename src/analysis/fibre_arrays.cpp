#include "analysis/fibre_arrays.h"

#include <algorithm>
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
void sumGroup(const FibreArrays& f, std::size_t b, std::size_t e, const double abc[3], Law law, double s[6]) {
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

// Forces, tangent and secant sums over the fibres [b, e) of one group; law(eps, sig, et, es)
// gives stress, slope and secant modulus.
template <bool Secant, class Law>
void sumGroupStiffness(const FibreArrays& f, std::size_t b, std::size_t e, const double abc[3], Law law, double s[3],
                       double kt[6], double ks[6]) {
    const double a1 = abc[0], a2 = abc[1], a3 = abc[2];
    const double* X = f.x.data();
    const double* Y = f.y.data();
    const double* A = f.area.data();
    for (std::size_t j = b; j < e; ++j) {
        double sig, et, es;
        law(a1 + a2 * X[j] + a3 * Y[j], sig, et, es);
        const double fo = sig * A[j], wt = et * A[j], ws = es * A[j];
        const double x = X[j], y = Y[j];
        s[0] += fo;
        s[1] += fo * x;
        s[2] += fo * y;
        kt[0] += wt;
        kt[1] += wt * x;
        kt[2] += wt * y;
        kt[3] += wt * x * x;
        kt[4] += wt * x * y;
        kt[5] += wt * y * y;
        if constexpr (Secant) {
            ks[0] += ws;
            ks[1] += ws * x;
            ks[2] += ws * y;
            ks[3] += ws * x * x;
            ks[4] += ws * x * y;
            ks[5] += ws * y * y;
        } else {
            (void)ws;
        }
    }
}

}  // namespace

FibreArrays::FibreArrays(const SectionModel& m) {
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(m.NFIB > 0 ? m.NFIB : 0));
    for (int j = 1; j <= m.NFIB; ++j) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(j)];
        if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE) {
            entries.push_back({0, f.FC, f.EPS_0, j});
        } else if (f.TY == FIB_STEEL || f.TY == FIB_REBAR) {
            entries.push_back({1, f.FY1, 0, j});
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
        const TFIB& f = m.FIB[static_cast<std::size_t>(e.fibre)];
        x[i] = f.X;
        y[i] = f.Y;
        area[i] = f.AREA;
        fibre[i] = e.fibre;
        if (i == 0 || e.law != entries[i - 1].law || !(e.p1 == entries[i - 1].p1) || !(e.p2 == entries[i - 1].p2)) {
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
    for (int j = 1; j <= m.NCFIB; ++j) {
        cpX.push_back(m.CFIB[static_cast<std::size_t>(j)].X);
        cpY.push_back(m.CFIB[static_cast<std::size_t>(j)].Y);
    }
}

void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]) {
    double s[6] = {0, 0, 0, 0, 0, 0};
    for (const FibreGroup& g : f.groups) {
        if (g.concrete) {
            const double fc = g.fc, e0 = g.eps0;
            sumGroup(f, g.begin, g.end, abc, [fc, e0](double eps) {
                double sig;
                CONCRETE01(fc, e0, eps, sig);
                return sig;
            }, s);
        } else {
            const double fy = g.fy;
            sumGroup(f, g.begin, g.end, abc, [fy](double eps) {
                double sig;
                STEEL01(STEEL_LAW_MODULUS, fy, eps, sig);
                return sig;
            }, s);
        }
    }
    ss[0] = s[0] + s[3] + f.fixedForce[0];
    ss[1] = s[1] + s[4] + f.fixedForce[1];
    ss[2] = s[2] + s[5] + f.fixedForce[2];
}

namespace {
template <bool Secant>
void sumStiffness(const FibreArrays& f, const double abc[3], double ss[3], double kt[6], double ks[6]) {
    double s[3] = {0, 0, 0};
    double t[6] = {0, 0, 0, 0, 0, 0}, c[6] = {0, 0, 0, 0, 0, 0};
    for (const FibreGroup& g : f.groups) {
        if (g.concrete) {
            const double fc = g.fc, e0 = g.eps0;
            sumGroupStiffness<Secant>(f, g.begin, g.end, abc, [fc, e0](double eps, double& sig, double& et, double& es) {
                CONCRETE01(fc, e0, eps, sig);
                et = eps > 0 && eps <= e0 ? 2 * fc / e0 * (1 - eps / e0) : 0.0;
                es = eps > 0 ? sig / eps : 0.0;
            }, s, t, c);
        } else {
            const double fy = g.fy, ey = g.fy / STEEL_LAW_MODULUS;
            sumGroupStiffness<Secant>(f, g.begin, g.end, abc, [fy, ey](double eps, double& sig, double& et, double& es) {
                STEEL01(STEEL_LAW_MODULUS, fy, eps, sig);
                const bool elastic = eps >= -ey && eps <= ey;
                et = elastic ? STEEL_LAW_MODULUS : 0.0;
                es = elastic ? STEEL_LAW_MODULUS : sig / eps;
            }, s, t, c);
        }
    }
    for (int i = 0; i < 3; ++i) ss[i] = s[i] + f.fixedForce[i];
    for (int i = 0; i < 6; ++i) {
        kt[i] = t[i];
        if constexpr (Secant) ks[i] = c[i];
    }
}
}  // namespace

void sumFibreForcesAndStiffness(const FibreArrays& f, const double abc[3], double ss[3], double kt[6], double ks[6]) {
    // The secant sums cost a third of the pass; most passes need only the tangent.
    if (ks != nullptr) sumStiffness<true>(f, abc, ss, kt, ks);
    else sumStiffness<false>(f, abc, ss, kt, nullptr);
}

void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m) {
    for (const FibreGroup& g : f.groups) {
        for (std::size_t j = g.begin; j < g.end; ++j) {
            TFIB& fib = m.FIB[static_cast<std::size_t>(f.fibre[j])];
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
    for (int j = 1; j <= m.NFIB; ++j) {
        TFIB& fib = m.FIB[static_cast<std::size_t>(j)];
        if (fib.TY < 1 || fib.TY > 4) fib.EPS = abc[0] + abc[1] * fib.X + abc[2] * fib.Y;
    }
}

}  // namespace qav
