#pragma once
// The three printed documents of the analysis dialog, composed in device units at 1200 dpi:
// the figure report (section picture, section data, three P-M charts and the Myy-Mxx chart),
// the text report (result tables side by side) and the section data page (the summary in
// columns). The compositions run the analyses they print side by side on the model's THREADS,
// then draw each chart or table from its own curve; the model takes the results (as after the
// curves one after the other) only when the document is complete.
#include <functional>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "model/design_code.h"
#include "model/feedback.h"
#include "model/section_model.h"
#include "reports/chart_frame.h"
#include "reports/page_document.h"

namespace qav {

// What the compositions read from the dialog. The fields are read on the calling thread before
// the curves run; a field that is not a number stops the document where its chart or table
// stands, after the ones before it, and the model keeps its previous results.
struct ReportInputs {
    LoadMarks marks;
    std::function<double()> angle;  // "Moment Angle", as typed (text report)
    std::function<double()> axial;  // "Axial Force (kN)" of the Myy-Mxx group
};

// Page frame, title block lines and fixed labels of the one-page reports, in the canvas font.
void PRINT_TABLE_GRID(Canvas& canvas, const std::string& codeLabel);
inline void PRINT_TABLE_GRID(Canvas& canvas, int designCode) {
    PRINT_TABLE_GRID(canvas, designCodeName(designCode));
}
// Lines of data in Courier New 5 pt, 90 units apart, from (SX, SY).
void PRINT_PM_TEXT(Canvas& canvas, const std::vector<std::string>& data, int SX, int SY);
// Lines in the canvas font, TH apart, from (SX, SY).
void PRINT_SECTION_DATA_TEXT(Canvas& canvas, const std::vector<std::string>& data, int SX, int SY,
                             int TH);

// "Print PMM Report(Fig)": P-M analyses at 0, 90 and 45 degrees and the Myy-Mxx analysis;
// progress moves over the four curves. Cancelled: RunCancelled, the model as it was.
void printFigureReport(PageDocument& doc, SectionModel& m, const ReportInputs& in, Messages& msgs,
                       Progress& progress);
// "Print PMM Report(Txt)": P-M tables at 0, 90 and the typed angle, the Myy-Mxx table.
void printTextReport(PageDocument& doc, SectionModel& m, const ReportInputs& in, Messages& msgs,
                     Progress& progress);
// "Print Section Data": the section summary, 60 lines a column, three columns a page.
void printSectionDataPage(PageDocument& doc, const SectionModel& m);

}  // namespace qav
