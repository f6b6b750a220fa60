#pragma once
// The section equilibrium solver: for one load (axial force and two moments) it finds the plane
// strain state whose extreme control-point strain is the limit strain and whose internal forces
// point along the load, and returns their ratio, the load fraction. The load-fraction variant
// (STRAIN_LIMIT_MODE 1 or 2, limit 0.005) and the moment-curvature variant (a prescribed largest
// strain) share one iteration.
#include <array>
#include <string>
#include <vector>

#include "analysis/fibre_arrays.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// A 3 x 3 matrix with rows and columns 1..3 (slot 0 unused).
using matrx2 = std::array<std::array<double, 4>, 4>;
using vec3 = std::array<double, 4>;  // slots 1..3

constexpr double EPS_LIMIT = 0.005;
constexpr double SOLVER_TOLERANCE = 1e-4;
constexpr int SOLVER_MAX_ITERATIONS = 1000;

// The result of one solve, with its status: callers and tests can see non-convergence even
// where the program stays silent about it.
struct SolveResult {
    double loadFraction = 0;
    bool converged = false;
    int iterations = 0;
    double residual = 0;
    double emax = 0;  // largest control-point strain of the last iteration, before its scaling
    double emin = 0;  // smallest, likewise
};

// Elastic section stiffness: sums of E x AREA x (1, X, Y) x (1, X, Y) over all fibres.
void FORM_SECTION_STIFF_MATRIX(const SectionModel& m, matrx2& KK);
// Gauss-Jordan elimination with full pivoting: inverts A (N x N, N <= 3) in place and replaces B
// by the solution of A x = B. A singular matrix gives "Singular matrix." through msgs and the
// elimination goes on (the results are then not numbers).
void GAUSSJ(matrx2& A, int N, vec3& B, Messages& msgs);
double CALC_LKL(int N, const matrx2& KK, const vec3& L);
double CALC_SKL(int N, const matrx2& KK, const vec3& S, const vec3& L);
void CALC_KLS(const matrx2& KK, double LAMDA, const vec3& LL, const vec3& SS, const vec3& ABC, vec3& ABC2);

// 1 when the section has a concrete outline, 2 otherwise (steel-only sections).
int sectionStrainLimitMode(const SectionModel& m);

// The solver for a series of solves on one meshed section: the fibres are copied into flat
// arrays and the stiffness is formed and inverted once. The model is read at construction and
// written only by storeState.
class SectionSolver {
public:
    SectionSolver(const SectionModel& m, Messages& msgs);

    // Load fraction of (P kN compression positive, MX, MY kNm) with the minimum magnitudes
    // K_P, K_MX, K_MY, normalised by mode (STRAIN_LIMIT_MODE): mode 1 puts the largest
    // compressive control-point strain at EPS_LIMIT, or the largest tensile one when no point
    // is in compression; mode 2 puts the smaller of those two magnitudes there.
    SolveResult loadFraction(double P, double MX, double MY, double K_P, double K_MX, double K_MY, int mode);
    // The moment-curvature variant: no minimum magnitudes, the largest control-point strain
    // scaled to epsMax.
    SolveResult loadFractionAtStrain(double P, double MX, double MY, double epsMax);

    // Writes the last evaluated state into the fibres' and control points' EPS and STRESS.
    void storeState(SectionModel& m) const;

    int fibreCount() const { return fibres_.fibreCount(); }
    const FibreArrays& fibres() const { return fibres_; }

private:
    enum class Scaling { Mode1, Mode2, Prescribed };
    SolveResult solve(const vec3& LL, Scaling scaling, double epsMax);

    FibreArrays fibres_;
    Messages& msgs_;
    matrx2 kinv_{};                     // inverse stiffness
    std::vector<std::string> singular_;  // messages the inversion raised, repeated per solve
    double fibreAbc_[3] = {0, 0, 0};     // deformation of the last fibre evaluation
    double pointAbc_[3] = {0, 0, 0};     // deformation of the last control-point evaluation
    bool evaluated_ = false;
};

// Load fraction of one load on the model's fibres, with the minimum magnitudes, in the model's
// STRAIN_LIMIT_MODE; the fibres and control points keep the last evaluated state.
SolveResult CALC_LOAD_FRACTION_TYPE1(SectionModel& m, double P, double MX, double MY, double& LOAD_FRACTION,
                                     double K_P, double K_MX, double K_MY, Messages& msgs);
// The moment-curvature variant: KMIN_EPS receives the largest and KMAX_EPS the smallest
// control-point strain of the last iteration.
SolveResult CALC_LOAD_FRACTION_type2(SectionModel& m, double P, double MX, double MY, double eps_max,
                                     double& LOAD_FRACTION, double& KMIN_EPS, double& KMAX_EPS, Messages& msgs);

// Counts of a run of many solves, for callers that report non-convergence.
struct RunStats {
    long long solves = 0;
    long long notConverged = 0;
    long long iterations = 0;
    long long fibreEvaluations = 0;
    void add(const SolveResult& r, int fibres) {
        ++solves;
        if (!r.converged) ++notConverged;
        iterations += r.iterations;
        fibreEvaluations += static_cast<long long>(r.iterations) * fibres;
    }
    void add(const RunStats& o) {
        solves += o.solves;
        notConverged += o.notConverged;
        iterations += o.iterations;
        fibreEvaluations += o.fibreEvaluations;
    }
};

// The fixed-point search the curves share: the trial moment (mx, my) is scaled by the load
// fraction of the previous solve until that fraction is within tol of 1, at most maxSolves
// solves. solve(mx, my) returns the load fraction. Returns the last load fraction.
template <class Solve>
double scaleTrialMoment(Solve&& solve, double& mx, double& my, double tol, int maxSolves) {
    double lamda = 1;
    for (int it = 0; it < maxSolves; ++it) {
        mx *= lamda;
        my *= lamda;
        lamda = solve(mx, my);
        if (lamda - 1 < tol && 1 - lamda < tol) break;
    }
    return lamda;
}

}  // namespace qav
