#include "analysis/reference/reference_iteration.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace qav {

namespace {

const char* const SINGULAR_MATRIX = "Singular matrix.";

}  // namespace

void FORM_SECTION_STIFF_MATRIX(const SectionModel& m, matrx2& KK) {
    double s = 0, sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        const double w = f.E * f.AREA;
        s += w;
        sx += w * f.X;
        sy += w * f.Y;
        sxx += w * f.X * f.X;
        sxy += w * f.X * f.Y;
        syy += w * f.Y * f.Y;
    }
    KK = {};
    KK[1][1] = s;
    KK[1][2] = KK[2][1] = sx;
    KK[1][3] = KK[3][1] = sy;
    KK[2][2] = sxx;
    KK[2][3] = KK[3][2] = sxy;
    KK[3][3] = syy;
}

// The original elimination, kept step for step as the reference's results depend on it.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void GAUSSJ(matrx2& A, int N, vec3& B, Messages& msgs) {
    if (N < 1 || N > 3) return;
    const auto n = static_cast<std::size_t>(N);
    std::array<std::size_t, 4> indxc{}, indxr{};
    std::array<int, 4> ipiv{};
    std::size_t irow = 1, icol = 1;  // kept from step to step, as when nothing qualifies as a pivot
    for (std::size_t i = 1; i <= n; ++i) {
        double big = 0;
        for (std::size_t j = 1; j <= n; ++j) {
            if (ipiv[j] == 1) continue;
            for (std::size_t k = 1; k <= n; ++k) {
                if (ipiv[k] == 0) {
                    if (std::fabs(A[j][k]) >= big) {
                        big = std::fabs(A[j][k]);
                        irow = j;
                        icol = k;
                    }
                } else if (ipiv[k] > 1) {
                    msgs.message(SINGULAR_MATRIX);
                }
            }
        }
        ++ipiv[icol];
        if (irow != icol) {
            for (std::size_t l = 1; l <= n; ++l) std::swap(A[irow][l], A[icol][l]);
            std::swap(B[irow], B[icol]);
        }
        indxr[i] = irow;
        indxc[i] = icol;
        if (A[icol][icol] == 0) msgs.message(SINGULAR_MATRIX);
        const double pivinv = 1.0 / A[icol][icol];
        A[icol][icol] = 1;
        for (std::size_t l = 1; l <= n; ++l) A[icol][l] *= pivinv;
        B[icol] *= pivinv;
        for (std::size_t ll = 1; ll <= n; ++ll) {
            if (ll == icol) continue;
            const double dum = A[ll][icol];
            A[ll][icol] = 0;
            for (std::size_t l = 1; l <= n; ++l) A[ll][l] -= A[icol][l] * dum;
            B[ll] -= B[icol] * dum;
        }
    }
    for (std::size_t l = n; l >= 1; --l) {
        if (indxr[l] == indxc[l]) continue;
        for (std::size_t k = 1; k <= n; ++k) std::swap(A[k][indxr[l]], A[k][indxc[l]]);
    }
}

double CALC_LKL(int N, const matrx2& KK, const vec3& L) {
    const auto n = static_cast<std::size_t>(std::max(N, 0));
    double s = 0;
    for (std::size_t p = 1; p <= n; ++p)
        for (std::size_t q = 1; q <= n; ++q) s += L[p] * KK[p][q] * L[q];
    return s;
}

double CALC_SKL(int N, const matrx2& KK, const vec3& S, const vec3& L) {
    const auto n = static_cast<std::size_t>(std::max(N, 0));
    double s = 0;
    for (std::size_t q = 1; q <= n; ++q) {
        double t = 0;
        for (std::size_t p = 1; p <= n; ++p) t += KK[p][q] * S[p];
        s += L[q] * t;
    }
    return s;
}

void CALC_KLS(const matrx2& KK, double LAMDA, const vec3& LL, const vec3& SS, const vec3& ABC,
              vec3& ABC2) {
    for (std::size_t j = 1; j <= 3; ++j) {
        double t = 0;
        for (std::size_t p = 1; p <= 3; ++p) t += KK[p][j] * (LAMDA * LL[p] - SS[p]);
        ABC2[j] = ABC[j] + t;
    }
}

namespace {

// Largest and smallest control-point strains of the deformation ABC. The load-fraction rule
// starts both from 0, the prescribed-strain rule from the first point.
void controlPointExtremes(const FibreArrays& f, const vec3& ABC, bool fromFirstPoint, double& emax,
                          double& emin) {
    const std::vector<double>& cpX = f.cpX;
    const std::vector<double>& cpY = f.cpY;
    emax = 0;
    emin = 0;
    if (fromFirstPoint && !cpX.empty()) emax = emin = ABC[1] + ABC[2] * cpX[0] + ABC[3] * cpY[0];
    for (std::size_t c = 0; c < cpX.size(); ++c) {
        const double e = ABC[1] + ABC[2] * cpX[c] + ABC[3] * cpY[c];
        if (e > emax) emax = e;
        if (e < emin) emin = e;
    }
}

// The reference iteration's scaling rule. A ratio keeps its value while its extreme is 0 (mode 1
// in pure tension aside, below); until it is first defined in a call it takes no part, and with
// no ratio at all the deformation is left as it stands (factor 1).
struct ReferenceScaling {
    double s1 = 0, s2 = 0, sPrescribed = 1;
    bool have1 = false, have2 = false;

    double factor(bool prescribed, int mode, double emax, double emin, double epsMax) {
        double s = 1;
        if (prescribed) {
            if (emax != 0) sPrescribed = epsMax / emax;
            return sPrescribed;
        }
        if (emax != 0) {
            s1 = std::fabs(EPS_LIMIT / emax);
            have1 = true;
        }
        if (emin != 0) {
            s2 = std::fabs(EPS_LIMIT / emin);
            have2 = true;
        }
        if (mode == 1) {
            // No control point in compression: the whole section is in tension and the most
            // tensile point takes the limit strain. Left unscaled, a tensile load would settle
            // on an elastic state of whatever size the iteration holds, far short of the yield
            // of all the steel.
            if (emax == 0 && emin != 0)
                s = s2;
            else if (have1)
                s = s1;
        } else if (mode == 3) {
            // The larger extreme magnitude of this deformation, never one of an earlier one.
            if (emax != 0 && emin != 0)
                s = s1 < s2 ? s1 : s2;
            else if (emax != 0 || emin != 0)
                s = emax != 0 ? s1 : s2;
        } else if (have1 && have2) {
            s = s1 > s2 ? s1 : s2;
        } else if (have1 || have2) {
            s = have1 ? s1 : s2;
        }
        return s;
    }
};

}  // namespace

ReferenceSolve referenceIteration(const FibreArrays& f, const matrx2& kinv, const vec3& LL,
                                  const LimitRule& rule) {
    ReferenceSolve out;
    // Elastic deformation under the load: the inverse stiffness times the load.
    vec3 ABC{};
    for (std::size_t j = 1; j <= 3; ++j)
        for (std::size_t p = 1; p <= 3; ++p) ABC[j] += kinv[j][p] * LL[p];

    const double lkl = CALC_LKL(3, kinv, LL);
    const bool prescribed = rule.mode() == LimitMode::Prescribed;
    const double epsMax = rule.strain();
    const int mode = rule.mode() == LimitMode::Smaller  ? 2
                     : rule.mode() == LimitMode::Larger ? 3
                                                        : 1;
    ReferenceScaling scaling;
    // Mode 1 under the code's limit scales by the code's rule; a deformation it cannot place
    // (no point strained) is left as it stands.
    const bool codeRule = rule.mode() == LimitMode::Code;
    auto codeFactor = [&f](const vec3& d) {
        const double a[3] = {d[1], d[2], d[3]};
        const Limit c = codeRuleLimit(f, a);
        return c.ok() ? c.factor : 1.0;
    };

    SolveResult& r = out.result;
    for (int k = 1; k <= SOLVER_MAX_ITERATIONS; ++k) {
        double emax = 0, emin = 0;
        controlPointExtremes(f, ABC, prescribed, emax, emin);
        out.pointAbc[0] = ABC[1];
        out.pointAbc[1] = ABC[2];
        out.pointAbc[2] = ABC[3];
        r.emax = emax;
        r.emin = emin;

        const double s =
            codeRule ? codeFactor(ABC) : scaling.factor(prescribed, mode, emax, emin, epsMax);
        for (std::size_t j = 1; j <= 3; ++j) ABC[j] *= s;

        double ss[3];
        const double abc[3] = {ABC[1], ABC[2], ABC[3]};
        sumFibreForces(f, abc, ss);
        out.fibreAbc[0] = abc[0];
        out.fibreAbc[1] = abc[1];
        out.fibreAbc[2] = abc[2];
        out.evaluated = true;
        for (int i = 0; i < 3; ++i) out.forces[i] = ss[i];
        const vec3 SS{0, ss[0], ss[1], ss[2]};

        // The load factor by projection in the metric of the inverse stiffness, then a
        // correction with that constant matrix towards forces equal to LAMDA x the load.
        const double LAMDA = CALC_SKL(3, kinv, SS, LL) / lkl;
        vec3 ABC2;
        CALC_KLS(kinv, LAMDA, LL, SS, ABC, ABC2);
        ABC = ABC2;

        double num = 0, den = 0;
        for (std::size_t j = 1; j <= 3; ++j) {
            const double d = LAMDA * LL[j] - SS[j];
            num += d * d;
            den += SS[j] * SS[j];
        }
        r.loadFraction = LAMDA;
        r.iterations = k;
        r.residual = std::sqrt(num) / std::sqrt(den);
        if (r.residual < SOLVER_TOLERANCE) {
            r.converged = true;
            break;
        }
    }
    return out;
}

void balanceWeights(const matrx2& k0, double w[3]) {
    for (std::size_t i = 0; i < 3; ++i) w[i] = 1 / std::sqrt(k0[i + 1][i + 1]);
}

double balancedResidual(const double w[3], const double target[3], const double forces[3]) {
    double num = 0, den = 0;
    for (int j = 0; j < 3; ++j) {
        const double d = w[j] * (target[j] - forces[j]);
        num += d * d;
        den += w[j] * w[j] * forces[j] * forces[j];
    }
    return std::sqrt(num) / std::sqrt(den);
}

void checkReferenceBalance(SolveResult& r, const matrx2& k0, const vec3& LL,
                           const double forces[3]) {
    if (!r.converged) return;
    double w[3];
    balanceWeights(k0, w);
    const double target[3] = {r.loadFraction * LL[1], r.loadFraction * LL[2],
                              r.loadFraction * LL[3]};
    const double balanced = balancedResidual(w, target, forces);
    if (balanced <= REFERENCE_BALANCE_TOLERANCE) return;
    r.offBalance = true;
    r.balanced = balanced;
}

}  // namespace qav
