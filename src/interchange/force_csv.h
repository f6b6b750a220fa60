#pragma once
// The force CSV file of the load combinations, read and written, and the built-in sample.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// Units of an imported file ("Unit System"): N and N mm, or kN and m.
enum class ForceUnits { N_mm, kN_m };

// Reads the lines of a force CSV file into FORCE and NFORCE, in kN and kNm, every LOAD_FRACTION 0;
// CRITICAL_COMB stays. Blank lines (empty, or blanks and control characters only) are skipped
// wherever they stand; the first other line is the header, whose names only serve to name a
// column in a message; every line after it is one combination, numbered 1, 2, ... in file
// order (the file's own "no." column is not read). Each row needs five fields (no., name, P,
// M2, M3); more are ignored. The file is read whole before the model changes: a short row
// throws InputError "Line 4 has 3 fields, 5 are needed.", a field that is not a number
// ConversionError "Line 3, column P: 'x' is not a valid floating point value", a file without
// even a header line InputError; each leaves the combinations as they were. With `file` given
// the messages start "<file>, line 4" instead.
void IMPORT_FORCE_CSV(SectionModel& m, const std::vector<std::string>& lines, ForceUnits units,
                      const std::string& file = {});

// The "Export CSV File" lines: a header, then one line per combination, each value "%0.3F,".
std::vector<std::string> EXPORT_FORCE_CSV(const SectionModel& m);

// The 43 lines of the built-in sample file (header "no.,Load,P,M2,M3", 42 rows in N and N mm).
const std::vector<std::string>& SAMPLE_FORCE_CSV();

}  // namespace qav
