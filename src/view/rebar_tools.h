#pragma once
// Hand editing of the bars: every tool acts on the selection (SEL_BAR 1..NSEL_BAR, in picking
// order) and empties it. Selection entries that no longer name a bar are skipped.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

constexpr int MAX_NEW_REBARS_ALONG_LINE = 100000;

// The selected bar numbers that name existing bars, in selection order.
std::vector<int32_t> selectedBars(const SectionModel& m);

// Removes the selected bars (positions are taken first, since each removal moves the last bar).
void DELETE_REBARS(SectionModel& m);
// Puts every selected bar on the horizontal (X) or vertical (Y) line through the first picked.
void ALIGN_REBARS_X(SectionModel& m);
void ALIGN_REBARS_Y(SectionModel& m);
// Replaces the bars picked between the first and the last (3 or more picked) by evenly spaced
// 25 mm bars on the segment between them. Returns false (nothing changed) with fewer than 3.
bool ALIGN_REBARS_DIR(SectionModel& m);
// Throws InputError, naming the tool by its caption, unless between least and most bars
// (most < 0: no upper bound) are selected: a tool never ends without a word.
void requireSelectedBars(const SectionModel& m, int least, int most, const std::string& tool);

// Throws InputError naming the box (caption) unless v is a length the model may hold
// (MAX_LENGTH_MM); positive: also greater than 0 (a diameter).
void requireRebarLength(double v, const std::string& caption, bool positive = false);

// How many of the given bars stand exactly where another bar stands (after an alignment), and
// the one message that reports them (the alignment itself stays as it is).
int coincidentBarCount(const SectionModel& m, const std::vector<int32_t>& bars);
std::string coincidentBarsText(int n);

// The "Move Rebars" dialog operations. A move that would carry a bar beyond MAX_LENGTH_MM
// throws InputError and moves nothing.
void MOVE_REBARS(SectionModel& m, double dx, double dy);
void REPLICATE_REBARS(SectionModel& m, double dx, double dy);
void MOVE_REBARS_TO_X(SectionModel& m, double x);
void MOVE_REBARS_TO_Y(SectionModel& m, double y);
// n new bars of diameter d dividing the segment between the two selected bars into n + 1 equal
// parts. Only with exactly two selected bars; the selection empties in that case only.
// A count above MAX_NEW_REBARS_ALONG_LINE throws InputError before anything changes (a typo
// of a few more digits would otherwise exhaust the memory).
void ADD_ALONG_LINE_REBARS(SectionModel& m, int n, double d);
void ASSIGN_REBAR_DIAMETER(SectionModel& m, double d);

// What the dialogs show on opening: the first selected bar's values, or empty boxes when no
// current bar is selected.
std::string assignDialogDiameterText(const SectionModel& m);
struct MoveDialogCoordinates {
    std::string Edit5, Edit6;
};
MoveDialogCoordinates moveDialogCoordinates(const SectionModel& m);

}  // namespace qav
