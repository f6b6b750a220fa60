#pragma once
// The load combinations: the force CSV file (read and written), the built-in sample, and the
// member check that finds each combination's load fraction and the critical combination.
#include <string>
#include <vector>

#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// Units of an imported file ("Unit System"): N and N mm, or kN and m.
enum class ForceUnits { N_mm, kN_m };

// Reads the lines of a force CSV file (the first is a header, never interpreted) into FORCE and
// NFORCE, in kN and kNm, every LOAD_FRACTION 0; CRITICAL_COMB stays. Fields missing from a
// line keep the text of the line before. The file is read whole before the model changes: a
// field that is not a number throws ConversionError, and a file without even a header line
// throws InputError, both leaving the combinations as they were.
void IMPORT_FORCE_CSV(SectionModel& m, const std::vector<std::string>& lines, ForceUnits units);

// The "Export CSV File" lines: a header, then one line per combination, each value "%0.3F,".
std::vector<std::string> EXPORT_FORCE_CSV(const SectionModel& m);

// The 43 lines of the built-in sample file (header "no.,Load,P,M2,M3", 42 rows in N and N mm).
const std::vector<std::string>& SAMPLE_FORCE_CSV();

struct CheckResult {
    RunStats stats;
    int critical = 0;  // CRITICAL_COMB after the check
    // Combinations whose fraction came out as no finite number (named in a message, stored
    // as 999 like a failed solve).
    std::vector<int> notFinite;
};

// "Check Member": the load fraction of every combination (its axial force negated, so
// compression is positive for the solver) with the minimum magnitudes K_P, K_MX, K_MY, then the
// critical combination. Sets STRAIN_LIMIT_MODE from the section. Throws InputError, changing
// nothing, when there are no combinations or no fibres.
CheckResult CHECK_MEMBER(SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                         Progress& progress);

// The last index holding the smallest finite load fraction; 0 when there is none.
int CRITICAL_COMBINATION(const SectionModel& m);

}  // namespace qav
