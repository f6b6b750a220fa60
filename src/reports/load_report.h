#pragma once
// The printed report of the load check: the combinations with their load fractions, 60 lines a
// column and three columns a page, in a fixed frame with a title block and the program logo.
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "model/design_code.h"
#include "model/section_model.h"
#include "reports/page_document.h"

namespace qav {

// The report text (FORCE_LINES): two rules around the column titles, then one line per
// combination, every field left-aligned in 12 characters.
// Each line holds the load whose fraction the last check listed (the raised one where a minimum
// governs), the fraction cut at its decimals and marked ("*" raised, "<1" below 1), and a legend
// of the marks used follows the combinations.
std::vector<std::string> LOAD_REPORT_LINES(const SectionModel& m);

// The member check's listing: one CSV line per combination (the load listed, its fraction cut
// at three decimals, its marks), the critical combination (0: none), and the legend of the marks.
std::vector<std::string> CHECK_LISTING_LINES(const SectionModel& m, int critical);

// Prints the lines, Ceil(lines / 180) pages, each with logo and frame.
// The table grid names HK-COP-2013 whatever the general setting says; a section under a code
// with its own grades (EN 1992-1-1, ACI 318-19) is named by that code.
void PRINT_OUT_REPORT(PageDocument& doc, const std::vector<std::string>& lines,
                      CodeId code = CodeId::HkCop2013);

// Page frame, title block and column titles of the load report.
void PRINT_OUT_TABLE_GRID(Canvas& canvas, CodeId code = CodeId::HkCop2013);

// The program's name in outline letters, in the title block's left cell.
void PRINT_PROGRAM_LOGO(Canvas& canvas);

// The box the logo stays inside.
inline constexpr int LOGO_X1 = 525, LOGO_X2 = 2199, LOGO_Y1 = 509, LOGO_Y2 = 772;

}  // namespace qav
