#pragma once
// The member check: each load combination's load fraction and the critical combination. The
// combinations come from the force CSV file (interchange/force_csv.h).
#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

struct CheckResult {
    RunStats stats;
    int critical = 0;              // CRITICAL_COMB after the check
    std::vector<int> unconverged;  // combinations whose solve did not converge, in order
    // Combinations whose fraction came out as no finite number (named in a message, stored
    // as 999 like a failed solve), in order.
    std::vector<int> notFinite;
};

// "Check Member": the load fraction of every combination (its axial force negated, so
// compression is positive for the solver) with the minimum magnitudes K_P, K_MX, K_MY, then the
// critical combination. Sets STRAIN_LIMIT_MODE from the section. Blocks of combinations run
// on the model's THREADS; the fractions reach the combinations only when all are found, so a
// cancelled check (RunCancelled) leaves them as they were. Throws InputError, changing
// nothing, when there are no combinations or no fibres.
CheckResult CHECK_MEMBER(SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                         Progress& progress);

// One message naming every combination whose solve did not converge, with its name; empty when
// every solve converged.
std::string UNCONVERGED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r);

// The last index holding the smallest finite load fraction; 0 when there is none.
int CRITICAL_COMBINATION(const SectionModel& m);

}  // namespace qav
