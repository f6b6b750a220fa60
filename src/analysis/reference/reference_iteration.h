#pragma once
// The reference iteration: the original method of finding a section's state at its limit, kept
// bit for bit as the yardstick of the fast solver and of the golden listings. From the elastic
// deformation under the load it scales the deformation to the limit, sums the fibre forces,
// takes the load fraction as their projection on the load in the metric of the inverse elastic
// stiffness and corrects the deformation with that fixed matrix, until the forces lie along
// the load to SOLVER_TOLERANCE in the plain norm (forces in N, moments in N mm). That norm
// hardly sees the axial force beside the moments, so a state it calls converged is checked
// afterwards in the balanced norm the fast solver uses (referenceBalanceMissed).
#include <array>
#include <cmath>

#include "analysis/fibre_arrays.h"
#include "analysis/limit_rule.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// A 3 x 3 matrix with rows and columns 1..3 (slot 0 unused).
using matrx2 = std::array<std::array<double, 4>, 4>;
using vec3 = std::array<double, 4>;  // slots 1..3

constexpr double SOLVER_TOLERANCE = 1e-4;
constexpr int SOLVER_MAX_ITERATIONS = 1000;
// How far, in the balanced norm, the forces of a state the reference iteration calls converged
// may miss the load times its fraction before the state is flagged: ten times the iteration's
// own tolerance, so that only states whose axial force is off by far more than the plain norm
// shows are flagged.
constexpr double REFERENCE_BALANCE_TOLERANCE = 1e-3;

// The result of one solve, with its status: callers and tests can see non-convergence even
// where the program stays silent about it.
struct SolveResult {
    double loadFraction = 0;
    bool converged = false;
    int iterations = 0;     // passes over the fibres
    double residual = 0;    // |LAMDA LL - SS| / |SS| of the last pass
    bool singular = false;  // the section stiffness could not be inverted
    bool fellBack = false;  // the fast solver handed the solve to the reference iteration
    // The reference iteration met its own tolerance, but its forces miss the load in the
    // balanced norm by more than REFERENCE_BALANCE_TOLERANCE (by balanced): the state stands,
    // as the reference iteration's results always have, and the run says how far it is off.
    bool offBalance = false;
    double balanced = 0;
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
void CALC_KLS(const matrx2& KK, double LAMDA, const vec3& LL, const vec3& SS, const vec3& ABC,
              vec3& ABC2);

// One reference solve of the load LL (N, N mm, N mm in slots 1..3) under the rule, with the
// elastic inverse kinv: its result, the deformation of its last control-point evaluation and of
// its last fibre evaluation (the state), and the forces there.
struct ReferenceSolve {
    SolveResult result;
    double pointAbc[3] = {0, 0, 0};
    double fibreAbc[3] = {0, 0, 0};
    double forces[3] = {0, 0, 0};
    bool evaluated = false;
};
ReferenceSolve referenceIteration(const FibreArrays& f, const matrx2& kinv, const vec3& LL,
                                  const LimitRule& rule);

// The weights of the balanced norm: the inverse square roots of the elastic stiffness's
// diagonal, so that moments count as forces at the section's radius of gyration.
void balanceWeights(const matrx2& k0, double w[3]);
// The relative residual |w (target - S)| / |w S| of the forces S against the target forces, each
// component weighed by w (balanceWeights): the one measure by which every solver's state is
// judged.
double balancedResidual(const double w[3], const double target[3], const double forces[3]);

// Flags a reference solve that met its own tolerance but misses the load in the balanced norm
// by more than REFERENCE_BALANCE_TOLERANCE (offBalance, balanced).
void checkReferenceBalance(SolveResult& r, const matrx2& k0, const vec3& LL,
                           const double forces[3]);

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
