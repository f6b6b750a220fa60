#pragma once
// The member check: each load combination's load fraction and the critical combination. The
// combinations come from the force CSV file (interchange/force_csv.h).
#include "analysis/design_strength.h"
#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// A combination whose load a minimum raised before the solve, and the load solved (kN, kNm; P
// negative in compression, as the combination gives it).
struct RaisedCombination {
    int number = 0;
    double P = 0, MX = 0, MY = 0;
};

struct CheckResult {
    RunStats stats;
    int critical = 0;              // CRITICAL_COMB after the check
    std::vector<int> unconverged;  // combinations whose solve did not converge, in order
    // Combinations whose fraction came out as no finite number (named in a message, stored
    // as 999 like a failed solve), in order.
    std::vector<int> notFinite;
    std::vector<double> fractions;  // slots 1 .. NFORCE, the LOAD_FRACTION of each combination
    // The combinations a minimum raised, in order, and whether the code's minimum eccentricity
    // (rather than the fixed minimum magnitudes) did.
    std::vector<RaisedCombination> raised;
    bool codeMinimum = false;
    // Under a strength reduction the fractions above are measured against the design surface;
    // beside them (slots 1 .. NFORCE) the nominal fraction and phi of the nominal state, and
    // the combinations whose fraction the cap phi Pn,max sets, in order. Empty otherwise.
    std::vector<double> nominalFractions, phi;
    std::vector<int> capGoverns;
    double cap = 0;     // phi Pn,max, kN
    int mode = 1;       // the STRAIN_LIMIT_MODE the check ran under
    SolverState state;  // the last combination's solve
    MeshStamp stamp;
};

// The load fraction of every combination (its axial force negated, so compression is positive
// for the solver) with the minimum magnitudes K_P, K_MX, K_MY (or, with the settings'
// CODE_MIN_ECC, each moment raised to at least P times the code's minimum eccentricity about its
// axis, the K ignored), then the critical combination, under the section's own
// STRAIN_LIMIT_MODE. Under a strength reduction each fraction is the design one: phi of the
// nominal state along the load's ray times the nominal fraction, no more than the cap
// phi Pn,max allows. Messages name the combinations a minimum raised and those the cap governs.
// Blocks of combinations run on the model's THREADS. Throws InputError when there are no
// combinations or no fibres, RunCancelled when cancelled.
CheckResult memberCheck(const SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                        Progress& progress);
// Keeps a check in the model: the fractions in the combinations, CRITICAL_COMB,
// STRAIN_LIMIT_MODE, and the fibres in the state of the last solve.
void keepCheckResult(SectionModel& m, const CheckResult& r);

// "Check Member": the check, kept in the model. A cancelled or refused check leaves the model
// as it was.
CheckResult CHECK_MEMBER(SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                         Progress& progress);

// One message naming every combination whose solve did not converge, with its name; empty when
// every solve converged.
std::string UNCONVERGED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r);

// "Minimum ... raised the loads of N combinations: ..." naming each with the load solved;
// empty when none was raised.
std::string RAISED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r);
// The combinations whose design fraction the cap phi Pn,max sets; empty when there are none.
std::string CAP_GOVERNS_TEXT(const SectionModel& m, const CheckResult& r);

// The last index holding the smallest finite load fraction; 0 when there is none.
int CRITICAL_COMBINATION(const SectionModel& m);

}  // namespace qav
