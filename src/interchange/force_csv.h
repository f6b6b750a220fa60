#pragma once
// The force CSV file of the load combinations, read and written, and the built-in sample.
#include <string>
#include <vector>

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

}  // namespace qav
