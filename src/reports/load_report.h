#pragma once
// The printed report of the load check: the combinations with their load fractions, 60 lines a
// column and three columns a page, in a fixed frame with a title block and the program logo.
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "model/section_model.h"
#include "reports/page_document.h"

namespace qav {

// The report text (FORCE_LINES): two rules around the column titles, then one line per
// combination, every field left-aligned in 12 characters.
std::vector<std::string> LOAD_REPORT_LINES(const SectionModel& m);

// Prints the lines, Ceil(lines / 180) pages, each with logo and frame.
void PRINT_OUT_REPORT(PageDocument& doc, const std::vector<std::string>& lines);

// Page frame, title block and column titles of the load report.
void PRINT_OUT_TABLE_GRID(Canvas& canvas);

// The program's name in outline letters, in the title block's left cell.
void PRINT_PROGRAM_LOGO(Canvas& canvas);

// The box the logo stays inside.
inline constexpr int LOGO_X1 = 525, LOGO_X2 = 2199, LOGO_Y1 = 509, LOGO_Y2 = 772;

}  // namespace qav
