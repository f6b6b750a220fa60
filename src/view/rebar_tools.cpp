#include "view/rebar_tools.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

namespace {
// Bar number i (1-based), a number selectedBars() gave.
template <class Model>
auto& barOf(Model& m, int32_t i) {
    return rows(m.document.BAR, m.document.NBAR)[static_cast<std::size_t>(i - 1)];
}

std::vector<TPOS> positionsOf(const SectionModel& m, const std::vector<int32_t>& bars) {
    std::vector<TPOS> out;
    out.reserve(bars.size());
    for (int32_t i : bars) out.push_back({barOf(m, i).X, barOf(m, i).Y});
    return out;
}
}  // namespace

std::vector<int32_t> selectedBars(const SectionModel& m) {
    std::vector<int32_t> out;
    const int32_t nbar = static_cast<int32_t>(rows(m.document.BAR, m.document.NBAR).size());
    for (const int32_t i : rows(m.view.SEL_BAR, m.view.NSEL_BAR))
        if (i >= 1 && i <= nbar) out.push_back(i);
    return out;
}

void DELETE_REBARS(SectionModel& m) {
    for (const TPOS& p : positionsOf(m, selectedBars(m))) DELETE_SINGLE_BAR(m, p.X, p.Y);
    m.view.NSEL_BAR = 0;
}

void ALIGN_REBARS_X(SectionModel& m) {
    const auto bars = selectedBars(m);
    if (!bars.empty()) {
        const double y0 = barOf(m, bars.front()).Y;
        for (int32_t i : bars) barOf(m, i).Y = y0;
    }
    m.view.NSEL_BAR = 0;
}

void ALIGN_REBARS_Y(SectionModel& m) {
    const auto bars = selectedBars(m);
    if (!bars.empty()) {
        const double x0 = barOf(m, bars.front()).X;
        for (int32_t i : bars) barOf(m, i).X = x0;
    }
    m.view.NSEL_BAR = 0;
}

bool ALIGN_REBARS_DIR(SectionModel& m) {
    const auto bars = selectedBars(m);
    const int n = static_cast<int>(bars.size());
    if (n < 3) return false;
    const TPOS p1{barOf(m, bars.front()).X, barOf(m, bars.front()).Y};
    const TPOS pn{barOf(m, bars.back()).X, barOf(m, bars.back()).Y};
    const double sx = (pn.X - p1.X) / (n - 1), sy = (pn.Y - p1.Y) / (n - 1);
    const std::vector<int32_t> middle(bars.begin() + 1, bars.end() - 1);
    for (const TPOS& p : positionsOf(m, middle)) DELETE_SINGLE_BAR(m, p.X, p.Y);
    for (int r = 1; r <= n - 2; ++r) ADD_SINGLE_REBAR(m, p1.X + r * sx, p1.Y + r * sy, 25.0);
    m.view.NSEL_BAR = 0;
    return true;
}

void requireSelectedBars(const SectionModel& m, int least, int most, const std::string& tool) {
    const int n = static_cast<int>(selectedBars(m).size());
    if (n >= least && (most < 0 || n <= most)) return;
    auto bars = [](int k) { return k == 1 ? std::string("1 bar") : Format("%D bars", {k}); };
    std::string need;
    if (most < 0)
        need =
            least == 1 ? "one or more selected bars" : Format("%D or more selected bars", {least});
    else
        need = least == most ? Format("exactly %D selected bars", {least})
                             : Format("%D to %D selected bars", {least, most});
    throw InputError("\"" + tool + "\" needs " + need + " (" +
                     (n == 0 ? std::string("none is") : bars(n) + (n == 1 ? " is" : " are")) +
                     " selected): select them with \"Select the Rebars\" first.");
}

int coincidentBarCount(const SectionModel& m, const std::vector<int32_t>& bars) {
    std::map<std::pair<double, double>, int> at;
    const auto all = rows(m.document.BAR, m.document.NBAR);
    const auto nbar = static_cast<int32_t>(all.size());
    // + 0.0 makes -0 and 0 one place.
    auto key = [](const TBAR& b) { return std::make_pair(b.X + 0.0, b.Y + 0.0); };
    for (const TBAR& b : all) ++at[key(b)];
    int n = 0;
    for (int32_t i : bars)
        if (i >= 1 && i <= nbar && at[key(barOf(m, i))] > 1) ++n;
    return n;
}

std::string coincidentBarsText(int n) {
    return Format(n == 1 ? "%D of the aligned bars now stands exactly where another bar stands."
                         : "%D of the aligned bars now stand exactly where another bar stands.",
                  {n});
}

void requireRebarLength(double v, const std::string& caption, bool positive) {
    const std::string bound = Format("%0.0F", {MAX_LENGTH_MM});
    if (!std::isfinite(v)) throw InputError("\"" + caption + "\" must be a finite number.");
    if (positive && !(v > 0))
        throw InputError("\"" + caption + "\" must be greater than 0 (it is " + Format("%g", {v}) +
                         ").");
    if (!isAcceptedLength(v))
        throw InputError("\"" + caption + "\" must lie between -" + bound + " and " + bound +
                         " mm (it is " + Format("%g", {v}) + ").");
}

namespace {
// Every selected bar moved by (dx, dy) stays within the model's bounds.
void requireMoveWithinBounds(const SectionModel& m, double dx, double dy) {
    requireRebarLength(dx, "X-Dir(mm)");
    requireRebarLength(dy, "Y-Dir(mm)");
    for (int32_t i : selectedBars(m)) {
        const TBAR& b = barOf(m, i);
        if (!isAcceptedLength(b.X + dx) || !isAcceptedLength(b.Y + dy))
            throw InputError(
                Format("Moved by (%g, %g) mm, a bar would lie beyond %0.0F mm of the origin.",
                       {dx, dy, MAX_LENGTH_MM}));
    }
}
}  // namespace

void MOVE_REBARS(SectionModel& m, double dx, double dy) {
    requireMoveWithinBounds(m, dx, dy);
    for (int32_t i : selectedBars(m)) {
        barOf(m, i).X += dx;
        barOf(m, i).Y += dy;
    }
    m.view.NSEL_BAR = 0;
}

void REPLICATE_REBARS(SectionModel& m, double dx, double dy) {
    requireMoveWithinBounds(m, dx, dy);
    for (int32_t i : selectedBars(m)) {
        const TBAR b = barOf(m, i);  // a copy: the table grows under us
        ADD_SINGLE_REBAR(m, b.X + dx, b.Y + dy, b.DB);
    }
    m.view.NSEL_BAR = 0;
}

void MOVE_REBARS_TO_X(SectionModel& m, double x) {
    requireRebarLength(x, "X-Dir(mm)");
    for (int32_t i : selectedBars(m)) barOf(m, i).X = x;
    m.view.NSEL_BAR = 0;
}

void MOVE_REBARS_TO_Y(SectionModel& m, double y) {
    requireRebarLength(y, "Y-Dir(mm)");
    for (int32_t i : selectedBars(m)) barOf(m, i).Y = y;
    m.view.NSEL_BAR = 0;
}

void ADD_ALONG_LINE_REBARS(SectionModel& m, int n, double d) {
    if (n > MAX_NEW_REBARS_ALONG_LINE)
        throw InputError(
            Format("Number of New Rebars must not exceed %D", {MAX_NEW_REBARS_ALONG_LINE}));
    if (m.view.NSEL_BAR != 2) return;
    requireRebarLength(d, "Rebar Diameter(mm)", true);
    const auto bars = selectedBars(m);
    if (bars.size() == 2) {
        const TBAR a = barOf(m, bars[0]), b = barOf(m, bars[1]);
        const double sx = (b.X - a.X) / (n + 1.0), sy = (b.Y - a.Y) / (n + 1.0);
        for (int k = 1; k <= n; ++k) ADD_SINGLE_REBAR(m, a.X + k * sx, a.Y + k * sy, d);
    }
    m.view.NSEL_BAR = 0;
}

void ASSIGN_REBAR_DIAMETER(SectionModel& m, double d) {
    requireRebarLength(d, "Rebar Diameter (mm)", true);
    for (int32_t i : selectedBars(m)) barOf(m, i).DB = d;
    m.view.NSEL_BAR = 0;
}

std::string assignDialogDiameterText(const SectionModel& m) {
    const auto bars = selectedBars(m);
    if (bars.empty() || bars.front() != m.view.SEL_BAR[1]) return {};
    return Format("%0.2F", {barOf(m, bars.front()).DB});
}

MoveDialogCoordinates moveDialogCoordinates(const SectionModel& m) {
    const auto bars = selectedBars(m);
    if (bars.empty() || bars.front() != m.view.SEL_BAR[1]) return {};
    const TBAR& b = barOf(m, bars.front());
    return {Format("%0.3F", {b.X}), Format("%0.3F", {b.Y})};
}

}  // namespace qav
