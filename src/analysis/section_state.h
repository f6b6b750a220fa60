#pragma once
// The section's state for one load: the strain plane at capacity (the one the equilibrium solver
// settles on for the load, whose forces are the load times its load fraction) or at the load
// itself, every fibre's strain, stress and force at that plane, the neutral axis and the
// resultants by kind of material. What the "Section State" dialog and `qavsec-cli state` show.
#include <string>
#include <vector>

#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// A plane of strain: eps(X, Y) = a1 + a2 X + a3 Y, compression positive.
struct StrainPlane {
    double a1 = 0, a2 = 0, a3 = 0;
    double at(double X, double Y) const { return a1 + a2 * X + a3 * Y; }
};

// Sums of force, force x X and force x Y (N, N mm) of a set of fibres.
struct ForceSum {
    double N = 0, MX = 0, MY = 0;
    void add(double force, double X, double Y) {
        N += force;
        MX += force * X;
        MY += force * Y;
    }
    void add(const ForceSum& o) {
        N += o.N;
        MX += o.MX;
        MY += o.MY;
    }
};

// The fibres' forces at a plane, by kind: concrete (core and cover), bars, structural steel,
// and fibres of any other kind (which keep their stored stress).
struct KindForces {
    ForceSum concrete, bars, steel, other;
    // The sum a fibre of kind TY adds to.
    ForceSum& of(int TY) {
        return TY == FIB_CORE_CONCRETE || TY == FIB_COVER_CONCRETE ? concrete
               : TY == FIB_REBAR                                   ? bars
               : TY == FIB_STEEL                                   ? steel
                                                                   : other;
    }
    ForceSum total() const {
        ForceSum t = concrete;
        t.add(bars);
        t.add(steel);
        t.add(other);
        return t;
    }
};

// The stress of a fibre at the strain eps by the law of its kind; fibres of any other kind keep
// their stored stress.
double fibreStress(const TFIB& f, double eps);
// Every fibre's force at the plane, summed by kind, by the laws given (a triangle integrated
// over its area where exactIntegration says so).
KindForces planeForces(const SectionModel& m, const StrainPlane& p,
                       FibreLaws laws = FibreLaws::Ultimate);

// The neutral axis of a plane over the control points: its angle (degrees, -90 < angle <= 90,
// from the X axis) and its depth (mm), the distance from the most compressed control point to
// the line of zero strain along the strain gradient. A plane without a gradient, or whose zero
// line lies beyond any length a section may have, has none.
struct NeutralAxis {
    bool exists = false;
    double angle = 0;
    double depth = 0;
};
NeutralAxis neutralAxis(const SectionModel& m, const StrainPlane& p);

struct FibreStateRow {
    int number = 0;
    double X = 0, Y = 0, AREA = 0;
    int TY = 0, MAT = 0;
    double strain = 0, stress = 0;
    double force = 0;  // kN
};

struct ControlPointState {
    double X = 0, Y = 0, strain = 0;
    bool atLimit = false;  // the strain the solver scales to
};

// Which state: the one at the strain limit whose forces are the load fraction times the load
// (what the interaction analyses find), or the one whose forces are the load itself (the
// stresses under service loads).
enum class StateAt { Capacity, Load };

struct SectionState {
    StateAt at = StateAt::Capacity;
    // The load as solved (kN, kNm, compression positive), after the minimum magnitudes.
    double P = 0, MX = 0, MY = 0;
    SolveResult solve;   // the load fraction's solve
    SolveResult atLoad;  // at the load: the equilibrium solve (load fraction 1)
    // Every solve that gave the state converged.
    bool converged() const {
        return solve.converged && (at == StateAt::Capacity || atLoad.converged);
    }
    StrainPlane plane;
    NeutralAxis axis;
    std::vector<FibreStateRow> fibres;
    std::vector<ControlPointState> controlPoints;
    KindForces forces;              // N, N mm
    double largestCompression = 0;  // largest fibre or control-point strain (>= 0)
    double largestTension = 0;      // smallest, as a signed strain (<= 0)
    // Under a code that reduces the nominal strength (ACI 318-19): phi of the solve's state
    // and the design load fraction, the one the member check lists (0 and 0 elsewhere).
    double phi = 0, designFraction = 0;
    StrainLimit limit = StrainLimit::Control;  // the ultimate limit of the load fraction
};

// The state for the load (P kN compression positive, MX, MY kNm), in the model's
// STRAIN_LIMIT_MODE: at capacity (the load with the minimum magnitudes times its load fraction)
// or at the load itself (as it is: no minimum magnitudes). The model is not changed. Throws
// InputError when the section has no fibres, the load is zero in every component or no state
// carries it (SectionSolver::carries: notCarriedStateText); at the load also when the load
// exceeds the capacity (load fraction below 1) or its equilibrium is not found.
SectionState SECTION_STATE(const SectionModel& m, double P, double MX, double MY, double K_P,
                           double K_MX, double K_MY, Messages& msgs,
                           StateAt at = StateAt::Capacity);

// The relative force residual to which the state at the load is solved.
constexpr double AT_LOAD_TOLERANCE = 1e-10;
// The plane whose fibre forces equal the load LL (N, N mm; the fibres' own forces, other kinds
// at their stored stress): Newton's method on the tangent stiffness, as a minimum of the
// fibres' strain energy less the load's work (convex, the laws never soften), damped with the
// elastic stiffness where the tangent is singular (cracked or yielded), from the elastic
// plane under the load or from start. Not converged when no such plane is found.
SolveResult solveAtLoad(const SectionModel& m, const double LL[3], StrainPlane& plane,
                        const StrainPlane* start = nullptr);

// "State at capacity: 0.579 × the load" or "State at the load (load fraction 1.727)".
std::string stateHeading(const SectionState& s);
// After a state the user asked for: the count of unconverged solves (its one solve) to msgs,
// as every run that analyses gives it, when the solve did not converge.
void reportStateUnconverged(const SectionState& s, Messages& msgs);

// The CSV of a state: a header, then one line per fibre (number, X, Y, area, kind, material,
// strain, stress, force), with a last column naming the state ("capacity" or "load") when
// markState is set.
std::vector<std::string> sectionStateCsv(const SectionModel& m, const SectionState& s,
                                         bool markState = false);
// The summary lines of a state: load fraction (and the design one where phi applies), neutral
// axis, extreme strains, resultants.
std::vector<std::string> sectionStateSummary(const SectionState& s);
// The caption of a fibre kind ("core concrete", "cover concrete", "steel", "rebar").
std::string fibreKindName(int TY);

}  // namespace qav
