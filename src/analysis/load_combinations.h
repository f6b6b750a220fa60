#pragma once
// The member check: each load combination's load fraction and the critical combination. The
// combinations come from the force CSV file (interchange/force_csv.h).
#include "analysis/design_strength.h"
#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// A combination whose listed fraction is that of its load raised to a minimum, and the load
// solved (kN, kNm; P negative in compression, as the combination gives it).
struct RaisedCombination {
    int number = 0;
    double P = 0, MX = 0, MY = 0;
};

// How many combinations a message names before it says how many more there are.
constexpr int NAMED_COMBINATIONS = 5;

struct CheckResult {
    RunStats stats;
    int critical = 0;              // CRITICAL_COMB after the check
    std::vector<int> unconverged;  // combinations whose solve did not converge, in order
    std::vector<int> offBalance;   // whose reference solve was flagged off balance, in order
    // Combinations whose fraction came out as no finite number (named in a message, stored
    // as 999 like a failed solve), in order.
    std::vector<int> notFinite;
    std::vector<double> fractions;  // slots 1 .. NFORCE, the LOAD_FRACTION of each combination
    // The combinations whose raised load's fraction is smaller than the given load's (so the
    // raised load is the one listed), in order, and whether the code's minimum eccentricity
    // (rather than the fixed minimum magnitudes) raised them.
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
// for the solver), then the critical combination, under the section's own STRAIN_LIMIT_MODE.
// Each fraction is that of the load as given; a minimum can only make it smaller: with the
// minimum magnitudes K_P, K_MX, K_MY (0 leaves a component as given) the load raised to them is
// solved too, and with the settings' CODE_MIN_ECC (the K ignored) a compression with each moment
// in turn raised to at least P times the code's minimum eccentricity about its axis; the
// smallest fraction is listed. Under a strength reduction each fraction is the design one: phi
// of the nominal state along the load's ray times the nominal fraction, no more than the cap
// phi Pn,max allows. Messages name the combinations whose raised load governs and those the cap
// governs. Blocks of combinations run on the model's THREADS. Throws InputError when there are
// no combinations, no fibres or a combination with no load at all (named), RunCancelled when
// cancelled.
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

// "... raised the load of N combinations ..." naming the first few with the load solved and
// counting the rest; empty when none was raised.
std::string RAISED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r);
// The combinations whose design fraction the cap phi Pn,max sets; empty when there are none.
std::string CAP_GOVERNS_TEXT(const SectionModel& m, const CheckResult& r);

// The last index holding the smallest finite load fraction; 0 when there is none.
int CRITICAL_COMBINATION(const SectionModel& m);

// The load combination i's load as the last check listed it (kN, kNm, P negative in
// compression): its load raised to the check's minimum where the raised load governs (raised
// set), otherwise the load as given.
struct ListedLoad {
    double P = 0, MX = 0, MY = 0;
    bool raised = false;
};
ListedLoad listedLoad(const SectionModel& m, int i);

// The marks beside a listed fraction: "*" where the raised load is listed, "<1" where the
// fraction is below 1 (the section does not carry the load); empty for neither. The legend lines
// explain the marks the listing uses (none when it uses none).
std::string checkMarks(const SectionModel& m, int i);
std::vector<std::string> checkLegend(const SectionModel& m);

}  // namespace qav
