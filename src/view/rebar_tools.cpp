#include "view/rebar_tools.h"

#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

namespace {
std::size_t slot(int32_t i) { return static_cast<std::size_t>(i); }

std::vector<TPOS> positionsOf(const SectionModel& m, const std::vector<int32_t>& bars) {
    std::vector<TPOS> out;
    out.reserve(bars.size());
    for (int32_t i : bars) out.push_back({m.BAR[slot(i)].X, m.BAR[slot(i)].Y});
    return out;
}
}  // namespace

std::vector<int32_t> selectedBars(const SectionModel& m) {
    std::vector<int32_t> out;
    const int32_t n = std::min<int32_t>(m.NSEL_BAR, static_cast<int32_t>(m.SEL_BAR.size()) - 1);
    const int32_t nbar = std::min<int32_t>(m.NBAR, static_cast<int32_t>(m.BAR.size()) - 1);
    for (int32_t j = 1; j <= n; ++j) {
        const int32_t i = m.SEL_BAR[slot(j)];
        if (i >= 1 && i <= nbar) out.push_back(i);
    }
    return out;
}

void DELETE_REBARS(SectionModel& m) {
    for (const TPOS& p : positionsOf(m, selectedBars(m))) DELETE_SINGLE_BAR(m, p.X, p.Y);
    m.NSEL_BAR = 0;
}

void ALIGN_REBARS_X(SectionModel& m) {
    const auto bars = selectedBars(m);
    if (!bars.empty()) {
        const double y0 = m.BAR[slot(bars.front())].Y;
        for (int32_t i : bars) m.BAR[slot(i)].Y = y0;
    }
    m.NSEL_BAR = 0;
}

void ALIGN_REBARS_Y(SectionModel& m) {
    const auto bars = selectedBars(m);
    if (!bars.empty()) {
        const double x0 = m.BAR[slot(bars.front())].X;
        for (int32_t i : bars) m.BAR[slot(i)].X = x0;
    }
    m.NSEL_BAR = 0;
}

bool ALIGN_REBARS_DIR(SectionModel& m) {
    const auto bars = selectedBars(m);
    const int n = static_cast<int>(bars.size());
    if (n < 3) return false;
    const TPOS p1{m.BAR[slot(bars.front())].X, m.BAR[slot(bars.front())].Y};
    const TPOS pn{m.BAR[slot(bars.back())].X, m.BAR[slot(bars.back())].Y};
    const double sx = (pn.X - p1.X) / (n - 1), sy = (pn.Y - p1.Y) / (n - 1);
    const std::vector<int32_t> middle(bars.begin() + 1, bars.end() - 1);
    for (const TPOS& p : positionsOf(m, middle)) DELETE_SINGLE_BAR(m, p.X, p.Y);
    for (int r = 1; r <= n - 2; ++r) ADD_SINGLE_REBAR(m, p1.X + r * sx, p1.Y + r * sy, 25.0);
    m.NSEL_BAR = 0;
    return true;
}

void MOVE_REBARS(SectionModel& m, double dx, double dy) {
    for (int32_t i : selectedBars(m)) {
        m.BAR[slot(i)].X += dx;
        m.BAR[slot(i)].Y += dy;
    }
    m.NSEL_BAR = 0;
}

void REPLICATE_REBARS(SectionModel& m, double dx, double dy) {
    for (int32_t i : selectedBars(m)) {
        const TBAR b = m.BAR[slot(i)];  // a copy: the table grows under us
        ADD_SINGLE_REBAR(m, b.X + dx, b.Y + dy, b.DB);
    }
    m.NSEL_BAR = 0;
}

void MOVE_REBARS_TO_X(SectionModel& m, double x) {
    for (int32_t i : selectedBars(m)) m.BAR[slot(i)].X = x;
    m.NSEL_BAR = 0;
}

void MOVE_REBARS_TO_Y(SectionModel& m, double y) {
    for (int32_t i : selectedBars(m)) m.BAR[slot(i)].Y = y;
    m.NSEL_BAR = 0;
}

void ADD_ALONG_LINE_REBARS(SectionModel& m, int n, double d) {
    if (n > MAX_NEW_REBARS_ALONG_LINE)
        throw InputError(Format("Number of New Rebars must not exceed %D", {MAX_NEW_REBARS_ALONG_LINE}));
    if (m.NSEL_BAR != 2) return;
    const auto bars = selectedBars(m);
    if (bars.size() == 2) {
        const TBAR a = m.BAR[slot(bars[0])], b = m.BAR[slot(bars[1])];
        const double sx = (b.X - a.X) / (n + 1.0), sy = (b.Y - a.Y) / (n + 1.0);
        for (int k = 1; k <= n; ++k) ADD_SINGLE_REBAR(m, a.X + k * sx, a.Y + k * sy, d);
    }
    m.NSEL_BAR = 0;
}

void ASSIGN_REBAR_DIAMETER(SectionModel& m, double d) {
    for (int32_t i : selectedBars(m)) m.BAR[slot(i)].DB = d;
    m.NSEL_BAR = 0;
}

std::string assignDialogDiameterText(const SectionModel& m) {
    const auto bars = selectedBars(m);
    if (bars.empty() || bars.front() != m.SEL_BAR[1]) return {};
    return Format("%0.2F", {m.BAR[slot(bars.front())].DB});
}

MoveDialogCoordinates moveDialogCoordinates(const SectionModel& m) {
    const auto bars = selectedBars(m);
    if (bars.empty() || bars.front() != m.SEL_BAR[1]) return {};
    const TBAR& b = m.BAR[slot(bars.front())];
    return {Format("%0.3F", {b.X}), Format("%0.3F", {b.Y})};
}

}  // namespace qav
