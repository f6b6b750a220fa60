#pragma once
// The axial force-moment (P-M) curve in one moment direction and the biaxial moment (Myy-Mxx)
// curve at one axial force, both sampled on the equilibrium solver. The analyses read the model
// and return their results; keepPmResult and keepMmResult put them into the model's PMAX, PMIN,
// PM_P, PM_MX, PM_MY, PM_M and MM_MX, MM_MY (kN, kNm, compression positive).
#include <array>
#include <initializer_list>
#include <optional>
#include <vector>

#include "analysis/design_strength.h"
#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// Throws InputError when the section has no fibres (an analysis would give only not-a-number)
// or its fibres were made from a section other than the one in the model (requireCurrentMesh).
void requireFibres(const SectionModel& m);

// Throws ResultError naming the analysis when one of the arrays holds a number that is not
// finite (element 0 of a 1-based table included only when skipFirst is false). Every curve
// passes here before it is stored, so no listing, table, chart or file receives such a number.
void requireFiniteResult(const char* analysis,
                         std::initializer_list<const std::vector<double>*> arrays, bool skipFirst);

// Throws ResultError naming the analysis when the solver's stiffness is singular, before any
// solve raises "Singular matrix." for it.
void requireRegularStiffness(const SectionSolver& solver, const char* analysis);

// The most steps a curve may ask for: beyond it the point tables would not fit in memory (and
// their sizes in an int), long before the run could end.
constexpr int MAX_CURVE_STEPS = 1'000'000;

// PMAX: core concrete plus steel, PMIN: steel in tension, each fibre at the stress of its law
// at the limit strain (FC and FY1 where the law reaches them by then) (kN). PMAX leaves the cover
// concrete out: it is the estimate the P-M curve's trial loads aim at, not the curve's end
// (curveAxialEnds).
AxialCapacity axialCapacity(const SectionModel& m);
// The same where the code's limit is read from fibres already compiled with the ultimate laws.
AxialCapacity axialCapacity(const SectionModel& m, const FibreArrays& ultimate);
void CALC_NMAX(SectionModel& m);
// The ends of the section's P-M curve under the limit in force (kN): the axial forces it carries
// without a moment in compression (the cover concrete included) and in tension (0 without
// anything to take tension), as the curve's own end points and the key points solve them. The
// solves' messages are the run's own to give, not the range's.
struct AxialEnds {
    double compression = 0, tension = 0;
};
// section: the model compiled (compiled here when null).
AxialEnds curveAxialEnds(const SectionModel& m, SharedSection section = nullptr);
// The same ends of the curve as it is listed: under a strength reduction the design ones (phi
// Pn,max and phi times the tension end), else curveAxialEnds.
AxialEnds designAxialEnds(const SectionModel& m);

// P (kN) where it lies within [low, high] or within the last printed decimal (0.0005 kN) beyond
// an end, brought to that end; nullopt outside. A value copied from a listing at 3 decimals is
// taken.
std::optional<double> withinAxialRange(double P, double low, double high);

// P brought into the ends of the section's P-M curve (withinAxialRange); InputError naming the
// curve ("Myy-Mxx", "M-Phi") and giving both ends outside them: no state carries it.
double requireCarriedAxialForce(const SectionModel& m, double P, const char* curve,
                                SharedSection section = nullptr);

// The part of the axial force P (kN) the section carries without a moment, at its limit in
// mode: 1 where it carries all of P (or P is 0), less near pure tension on a shape whose
// tension steel lies off the reference point. Curves traced from zero moment refuse such a force.
double fractionWithoutMoment(SectionSolver& solver, double P, int mode);

// Throws InputError when NPM is not within 2 .. MAX_CURVE_STEPS or there are no fibres.
void requirePmCurveInput(const SectionModel& m);

// One P-M curve computed apart from the model, so that curves can run side by side and a run
// changes the model only once it is complete. Arrays of 2 n + 3 points, 1 .. 2 n + 2 used.
struct PmCurve {
    std::vector<double> P, MX, MY, M;
    std::vector<uint8_t> converged;  // per point: every solve of its search converged
    RunStats stats;
    // The strain plane of each point's state (fibre strain abc[0] + abc[1] X + abc[2] Y).
    std::vector<std::array<double, 3>> planes;
    // Under a strength reduction (designPmCurve): the nominal points and phi, index for index
    // with the design points above; empty otherwise.
    std::vector<double> nomP, nomMX, nomMY, nomM, phi;
};
PmCurve computePmCurve(SectionSolver& solver, int mode, int n, double PMAX, double PMIN, double ANG,
                       Progress* progress);

// Surface point at the axial force NN (kN) in the moment direction (SINA, COSA): NN becomes the
// axial force of the point found, MX and MY its moments. The search starts from the moment
// trialMoment (kNm) along the direction (as a rule the solver's trialMoment()).
// Turns a nominal curve into the design curve where the section's code reduces its strength:
// the nominal points move to nomP .. nomM, and P .. M become phi times them, the compression
// capped at phi Pn,max. Nothing changes under the other codes.
void designPmCurve(const DesignStrength& d, PmCurve& c);

void CALC_PMM_POINT(SectionSolver& solver, int mode, double SINA, double COSA, double& NN,
                    double& MX, double& MY, RunStats& stats, double trialMoment);

// The point of the Myy-Mxx curve at AXIAL_FORCE (kN) whose moment lies at theta degrees
// (measured as the curve's angles are): its moments MX, MY, and the axial force of the state
// found (AXIAL_FORCE times the last load fraction of the search; AXIAL_FORCE itself where the
// fast solver finds the point directly).
struct MmPoint {
    double P = 0, MX = 0, MY = 0;
    // Where the load fractions along the ray jump across 1 between two limit states (the limit
    // states fold) and no load there has a fraction of 1: the fraction of one of them; 0
    // elsewhere.
    double fold = 0;
};
// noTension: the section has nothing to carry tension (PMIN 0).
MmPoint mmCurvePoint(SectionSolver& solver, int mode, double AXIAL_FORCE, double theta,
                     RunStats& stats, bool noTension = false);

// The P-M curve of the angle ANG (degrees) and ANG + 180, 2 NPM + 2 points, with PMAX and
// PMIN, the state of its last solve and the mesh it was computed from. Uses the model's
// STRAIN_LIMIT_MODE. Throws InputError when NPM is not within 2 .. MAX_CURVE_STEPS or there are
// no fibres. A progress, when given, sees 0..100 as the points are found. No closing count of
// unconverged solves: a caller that runs several curves gives one count for them all.
struct PmResult {
    PmCurve curve;
    double PMAX = 0, PMIN = 0;
    SolverState state;
    MeshStamp stamp;
};
// mode: the strain limit rule (0: the model's STRAIN_LIMIT_MODE).
PmResult pmCurveAnalysis(const SectionModel& m, double ANG, Messages& msgs,
                         Progress* progress = nullptr, int mode = 0);

// The Myy-Mxx curve at AXIAL_FORCE (kN, compression positive), NMM + 1 points. Throws
// InputError when NMM is not within 1 .. MAX_CURVE_STEPS, there are no fibres, or AXIAL_FORCE
// lies outside PMIN .. PMAX (no moment is carried there; the text gives both). A progress,
// when given, sees 0..100 as the angles are done.
// The design point of the Myy-Mxx curve at the design axial force P (kN) at theta degrees: the
// nominal point (P / phi, MX, MY) whose state has that phi. phi comes to within PHI_TOLERANCE
// of the state's in at most MAX_PHI_STEPS nominal points after the two ends; where it does
// not, the closest one found.
constexpr double PHI_TOLERANCE = 1e-6;
constexpr int MAX_PHI_STEPS = 40;
struct DesignMmPoint {
    MmPoint nominal;
    double phi = 1;
    RunStats stats;  // the solves of this point's nominal state
};
DesignMmPoint designMmPoint(SectionSolver& solver, int mode, const DesignStrength& d,
                            const AxialCapacity& cap, double P, double theta, RunStats& stats,
                            bool noTension);
// P brought into phi PMIN .. phi Pn,max (withinAxialRange); InputError outside.
double requireDesignAxialForce(const SectionModel& m, const DesignStrength& d, double P);

// Under a strength reduction AXIAL_FORCE is the design axial force: each point is the nominal
// state whose phi times its axial force is AXIAL_FORCE (phi found by a bracketed search), its
// moments phi times the nominal ones; AXIAL_FORCE must lie within phi PMIN (tension-controlled)
// .. phi Pn,max, else InputError.
struct MmResult {
    std::vector<double> MX, MY;
    std::vector<uint8_t> converged;
    std::vector<double> nomMX, nomMY, phi;  // under a strength reduction, else empty
    RunStats stats;
    SolverState state;
    MeshStamp stamp;
};
MmResult mmCurveAnalysis(const SectionModel& m, double AXIAL_FORCE, Messages& msgs,
                         Progress* progress = nullptr, int mode = 0);

// Keep a curve's results in a results part: the P-M curve with PMAX and PMIN, or the Myy-Mxx
// curve, each marked with the mesh it came from.
void keepPmResult(SectionResults& r, PmResult&& pm);
void keepMmResult(SectionResults& r, MmResult&& mm);

// The runs of the program's commands: the analysis, its results kept in the model, the fibres
// left in the state of the last solve, then the count of unconverged solves.
RunStats RUN_PM_CURVE_ANALYSIS(SectionModel& m, double ANG, Messages& msgs,
                               Progress* progress = nullptr);
RunStats RUN_MM_CURVE_ANALYSIS(SectionModel& m, double AXIAL_FORCE, Messages& msgs,
                               Progress* progress = nullptr);

}  // namespace qav
