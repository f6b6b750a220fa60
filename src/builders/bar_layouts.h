#pragma once
// Bar layouts of the rectangular column, the rectangular beam and the circular column, shared by
// the typical and the composite builders. Counts of 0 or less give no bars of that group; the
// callers refuse negative counts and one-bar beam rows before they get here.
#include <initializer_list>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

struct BarRows {
    int rows = 0;    // rows (layers, rings)
    int number = 0;  // bars per row
    double diameter = 0;
};

// Most bars one layout may place: a count beyond it is a slip of the keyboard and would take
// every byte of memory before anything was drawn.
constexpr double MAX_LAYOUT_BARS = 100000;

// rows x number, as a double so that no product of two counts overflows; 0 when either is 0
// or less (no bars of that group).
double barsOf(const BarRows& r);

// Refuses a layout of more than MAX_LAYOUT_BARS bars.
void requireLayoutBars(double bars);

// A group of bar rows stepping inwards from the cover line, s apart: how many rows, how far the
// rows may reach (from the cover line to the middle of the section) and the group's caption.
struct RowGroup {
    int rows = 0;
    double room = 0;
    std::string name;
};
// Refuses a row spacing, naming its box, that is 0 while a group has more than one row, or that
// takes the last row of a group past the middle of the section.
void requireRowsFit(double s, const std::string& spacerCaption,
                    std::initializer_list<RowGroup> groups);

// Column B x H: nx bars per row between the corners on the faces y = +-(H/2 - d1), ny on the
// faces x = +-(B/2 - d1), rows s apart inwards, then four corner bars each standing for a bundle
// of `bundle` bars of diameter bundleDia. 2*x.rows*x.number + 2*y.rows*y.number + 4 bars.
std::vector<TBAR> columnBars(double B, double H, double d1, double s, const BarRows& x,
                             const BarRows& y, int bundle, double bundleDia);

// Beam B x H: the first group along y = -H/2 + d1 and the second along y = +H/2 - d1, each row
// spread from corner to corner; then `sides` bars up each side (none when 0).
std::vector<TBAR> beamBars(double B, double H, double d1, double s, const BarRows& first,
                           const BarRows& second, int sides, double sideDia);

// Circle of diameter D: ring.number bars per ring at angles 360/n * i (i = 1..n), rings s apart.
std::vector<TBAR> ringBars(double D, double d1, double s, const BarRows& ring);

}  // namespace qav
