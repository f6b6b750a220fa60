#include "builders/bar_layouts.h"

#include <cmath>

#include "builders/box_texts.h"
#include "builders/shape_forms.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

namespace {
void add(std::vector<TBAR>& bars, double x, double y, double db) {
    TBAR b;
    b.X = x;
    b.Y = y;
    b.DB = db;
    bars.push_back(b);
}
}  // namespace

double barsOf(const BarRows& r) {
    return r.rows > 0 && r.number > 0 ? static_cast<double>(r.rows) * r.number : 0;
}

void requireLayoutBars(double bars) {
    if (bars > MAX_LAYOUT_BARS)
        throw InputError(Format("These counts would place %s bars; a section may have at most %s.",
                                {Format("%0.0F", {bars}), Format("%0.0F", {MAX_LAYOUT_BARS})}));
}

void requireRowsFit(double s, const std::string& spacerCaption,
                    std::initializer_list<RowGroup> groups) {
    // Rows step inwards from the cover line; the last must stay clear of the middle, and rows
    // on top of each other would be one row of double bars.
    bool first = true;
    Bound room{0, ""};
    for (const RowGroup& g : groups) {
        if (g.rows <= 1) continue;
        const Bound b{g.room / (g.rows - 1),
                      Format("so that %D rows of %s stay clear of the middle of the section",
                             {g.rows, g.name})};
        if (first || b.value < room.value) room = b;
        first = false;
    }
    if (first) return;
    requireWithin(s, spacerCaption, From::AboveZero, To::Below, room);
}

std::vector<TBAR> columnBars(double B, double H, double d1, double s, const BarRows& x,
                             const BarRows& y, int bundle, double bundleDia) {
    std::vector<TBAR> bars;
    for (int r = 1; r <= x.rows; ++r)
        for (int j = 1; j <= x.number; ++j) {
            const double px = -B / 2 + d1 + j * (B - 2 * d1) / (x.number + 1);
            add(bars, px, H / 2 - d1 - (r - 1) * s, x.diameter);
            add(bars, px, -H / 2 + d1 + (r - 1) * s, x.diameter);
        }
    for (int r = 1; r <= y.rows; ++r)
        for (int j = 1; j <= y.number; ++j) {
            add(bars, -B / 2 + d1 + (r - 1) * s, H / 2 - d1 - j * (H - 2 * d1) / (y.number + 1),
                y.diameter);
            add(bars, B / 2 - d1 - (r - 1) * s, -H / 2 + d1 + j * (H - 2 * d1) / (y.number + 1),
                y.diameter);
        }
    // A bundle of n bars is drawn and analysed as one bar of the same area.
    const double corner = std::sqrt(static_cast<double>(bundle)) * bundleDia;
    add(bars, -B / 2 + d1, -H / 2 + d1, corner);
    add(bars, B / 2 - d1, -H / 2 + d1, corner);
    add(bars, B / 2 - d1, H / 2 - d1, corner);
    add(bars, -B / 2 + d1, H / 2 - d1, corner);
    return bars;
}

std::vector<TBAR> beamBars(double B, double H, double d1, double s, const BarRows& first,
                           const BarRows& second, int sides, double sideDia) {
    std::vector<TBAR> bars;
    for (int r = 1; r <= first.rows; ++r)
        for (int j = 1; j <= first.number; ++j)
            add(bars, -B / 2 + d1 + (j - 1) * (B - 2 * d1) / (first.number - 1),
                -H / 2 + d1 + (r - 1) * s, first.diameter);
    for (int r = 1; r <= second.rows; ++r)
        for (int j = 1; j <= second.number; ++j)
            add(bars, -B / 2 + d1 + (j - 1) * (B - 2 * d1) / (second.number - 1),
                H / 2 - d1 - (r - 1) * s, second.diameter);
    for (int j = 1; j <= sides; ++j) {
        const double py = -H / 2 + d1 + j * (H - 2 * d1) / (sides + 1);
        add(bars, -B / 2 + d1, py, sideDia);
        add(bars, B / 2 - d1, py, sideDia);
    }
    return bars;
}

std::vector<TBAR> ringBars(double D, double d1, double s, const BarRows& ring) {
    std::vector<TBAR> bars;
    for (int i = 1; i <= ring.number; ++i) {
        const double a = degToRad(360.0 / ring.number * i);
        for (int r = 1; r <= ring.rows; ++r) {
            const double rho = (D - 2 * d1 - 2 * (r - 1) * s) / 2;
            add(bars, rho * std::cos(a), rho * std::sin(a), ring.diameter);
        }
    }
    return bars;
}

}  // namespace qav
