#pragma once
// The force CSV file of the load combinations, read and written, and the built-in sample.
#include <optional>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// Units of an imported file ("Unit System"): N and N mm, or kN and m.
enum class ForceUnits { N_mm, kN_m };

// Reads the lines of a force CSV file into FORCE and NFORCE, in kN and kNm, every LOAD_FRACTION 0;
// CRITICAL_COMB stays. Blank lines (empty, or blanks and control characters only) are skipped
// wherever they stand; the first other line is the header, whose names serve to name a column
// in a message and may name the units of P and the moments ("P[kN]", "M2[kNm]", "M3 (N.mm)");
// every line after it is one combination, numbered 1, 2, ... in file order (the file's own "no."
// column is not read). Each row needs five fields (no., name, P, M2, M3); more are ignored.
// Units: `units` are those the user chose, or none chosen. A header that names units other
// than those chosen is refused naming both; with none chosen the header's units are read; a
// header that names none is read in the units chosen, N and N mm when none are.
// The file is read whole before the model changes: a short row throws InputError "Line 4 has 3
// fields, 5 are needed.", a field that is not a number ConversionError "Line 3, column P: 'x' is
// not a valid floating point value", a first line that is a load and no header ("Line 1 is a
// load, not a header: ..."), a header naming units partly or units the file does not take, a
// file without even a header line, or one of UTF-16 text, InputError; each leaves the
// combinations as they were. With `file` given the messages name it ("<file>, line 4").
void IMPORT_FORCE_CSV(SectionModel& m, const std::vector<std::string>& lines,
                      std::optional<ForceUnits> units, const std::string& file = {});

// The "Export CSV File" lines: a header naming the units, "No,LoadComb,P[kN],Mx[kNm],My[kNm],
// Load_Fraction,", then one line per combination, each value "%0.3F,"; the load fraction of a
// combination never checked is left blank.
std::vector<std::string> EXPORT_FORCE_CSV(const SectionModel& m);

// The 43 lines of the built-in sample file (header "no.,Load,P,M2,M3", 42 rows in N and N mm).
const std::vector<std::string>& SAMPLE_FORCE_CSV();

}  // namespace qav
