#pragma once
// One section's design P-M curves under the three codes most of its users meet, on one chart:
// HK-COP-2013, EN 1992-1-1 and ACI 318-19, each with the code's ultimate limits and the
// strongest grades of that code not above the section's own, named in the legend. The command line
// writes the chart as a picture; the analysis dialog shows the same one.
#include <string>
#include <vector>

#include "analysis/section_solver.h"
#include "canvas/canvas.h"
#include "model/design_code.h"
#include "model/feedback.h"
#include "model/section_model.h"
#include "reports/chart_frame.h"

namespace qav {

// The curve of one code: its design strength (what the code's P-M output gives), and beside it
// the nominal strength where the code reduces it (ACI 318-19), else empty. Points 1 .. last of
// P and M are used, as in the model's P-M tables (kN, kNm, compression positive).
struct CodeCurve {
    CodeId code = CodeId::HkCop2013;
    std::vector<double> P, M;
    std::vector<double> nominalP, nominalM;
    std::vector<uint8_t> converged;
    std::vector<std::string> grades;  // the grades taken, as the conversion said
    std::string gradeNames;           // the legend's "C30/37, B500B": concrete, bars, steel
    std::string notCompared;          // why the code has no curve (its conversion refused)
};

struct CodeComparison {
    double angle = 0;  // moment angle, degrees
    std::vector<CodeCurve> curves;
    RunStats stats;  // over the three runs
};

// The codes compared, in the order the chart's legend lists them.
inline constexpr CodeId COMPARED_CODES[] = {CodeId::HkCop2013, CodeId::Ec2, CodeId::Aci318};

// Runs the P-M curve at `angle` on a copy of the section under each compared code: the copy takes
// the code's grades (as a conversion takes them), its fibres take them as after any grade
// change, and the code's ultimate limits apply. A code that holds no grade at or below the
// section's gets no curve: `notCompared` and a message say why. The section must have a current
// mesh (InputError otherwise); the model itself is not changed. Messages of each run name its code.
CodeComparison compareCodes(const SectionModel& m, double angle, Messages& msgs,
                            Progress* progress = nullptr);

// The chart: the curves in the P-M chart's axes (moment across, axial force up), each code in
// its own colour, a nominal curve dashed in the colour of its code, and a legend.
void drawCodeComparison(Canvas& canvas, const CodeComparison& comparison, const ChartFrame& frame);

}  // namespace qav
