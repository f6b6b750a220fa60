#include "mesh/polygon_checks.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "mesh/geometer.h"
#include "mesh/inside_test.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

namespace {
using Geometer::Orientation;
using Geometer::TGPointF;

std::size_t at(int k) {
    return static_cast<std::size_t>(k);
}

struct Polygon {
    std::string name;
    std::vector<TGPointF> pt;
    int size() const { return static_cast<int>(pt.size()); }
    const TGPointF& corner(int k) const { return pt[at(((k % size()) + size()) % size())]; }
};

Polygon polygonOf(const std::vector<TPOS>& pt, int npoint, std::string name) {
    Polygon p{std::move(name), {}};
    for (int k = 0; k < polygonCorners(pt, npoint); ++k) p.pt.push_back({pt[at(k)].X, pt[at(k)].Y});
    return p;
}

bool same(const TGPointF& a, const TGPointF& b) {
    return a.x == b.x && a.y == b.y;
}

std::string corner(const Polygon& p, int k) {
    return Format("%D (%g, %g)", {k, p.corner(k).x, p.corner(k).y});
}

// Side k of a polygon (or of one of two), for the sweep below.
struct Side {
    TGPointF a, b;
    int owner;  // which polygon
    int k;
    double xmin() const { return std::min(a.x, b.x); }
    double xmax() const { return std::max(a.x, b.x); }
    double ymin() const { return std::min(a.y, b.y); }
    double ymax() const { return std::max(a.y, b.y); }
};

void addSides(const Polygon& p, int owner, std::vector<Side>& sides) {
    for (int k = 0; k < p.size(); ++k) sides.push_back({p.corner(k), p.corner(k + 1), owner, k});
}

// Calls f for every pair of sides whose boxes overlap, in order of their left ends, until f
// returns true. A polygon of many corners has few such pairs, so the cost stays near linear.
void forEachOverlap(std::vector<Side> sides,
                    const std::function<bool(const Side&, const Side&)>& f) {
    std::sort(sides.begin(), sides.end(),
              [](const Side& p, const Side& q) { return p.xmin() < q.xmin(); });
    for (std::size_t i = 0; i < sides.size(); ++i)
        for (std::size_t j = i + 1; j < sides.size() && sides[j].xmin() <= sides[i].xmax(); ++j)
            if (sides[j].ymin() <= sides[i].ymax() && sides[i].ymin() <= sides[j].ymax() &&
                f(sides[i], sides[j]))
                return;
}

// The interiors cross at one point.
bool crossProperly(const Side& s, const Side& t) {
    return Orientation(s.b, t.a, s.a) * Orientation(s.b, t.b, s.a) < 0 &&
           Orientation(t.b, s.a, t.a) * Orientation(t.b, s.b, t.a) < 0;
}

bool strictlyWithin(const Side& s, const TGPointF& v) {
    return !same(v, s.a) && !same(v, s.b) && Orientation(s.b, v, s.a) == 0 && v.x >= s.xmin() &&
           v.x <= s.xmax() && v.y >= s.ymin() && v.y <= s.ymax();
}

// Corner k lies inside side s: does the boundary pass through s there (its corners before and
// after, skipping repeats of k, lie strictly on opposite sides of s)?
bool passesThrough(const Polygon& p, const Side& s, int k) {
    const TGPointF& v = p.corner(k);
    int before = k - 1, after = k + 1;
    while (before > k - p.size() && same(p.corner(before), v)) --before;
    while (after < k + p.size() && same(p.corner(after), v)) ++after;
    return Orientation(s.b, p.corner(before), s.a) * Orientation(s.b, p.corner(after), s.a) < 0;
}

bool hasArea(const Polygon& p) {
    if (p.size() < 3) return false;
    int second = 1;
    while (second < p.size() && same(p.pt[0], p.corner(second))) ++second;
    for (int k = second + 1; k < p.size(); ++k)
        if (Orientation(p.corner(second), p.corner(k), p.pt[0]) != 0) return true;
    return false;
}

void requireSimple(const Polygon& p) {
    if (p.size() == 0) return;
    if (!hasArea(p)) throw InputError(p.name + " has no area.");
    std::vector<Side> sides;
    addSides(p, 0, sides);
    int first = -1, second = -1;
    forEachOverlap(sides, [&](const Side& s, const Side& t) {
        const bool crossing = crossProperly(s, t) ||
                              (strictlyWithin(s, t.a) && passesThrough(p, s, t.k)) ||
                              (strictlyWithin(s, t.b) && passesThrough(p, s, t.k + 1)) ||
                              (strictlyWithin(t, s.a) && passesThrough(p, t, s.k)) ||
                              (strictlyWithin(t, s.b) && passesThrough(p, t, s.k + 1));
        if (crossing) first = std::min(s.k, t.k), second = std::max(s.k, t.k);
        return crossing;
    });
    if (first >= 0)
        throw InputError(
            Format("%s crosses itself between sides %D and %D.", {p.name, first, second}));
}

double distanceToSide(const Side& s, const TGPointF& v) {
    const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, len2 = dx * dx + dy * dy;
    const double t =
        len2 > 0 ? std::clamp(((v.x - s.a.x) * dx + (v.y - s.a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(s.a.x + t * dx - v.x, s.a.y + t * dy - v.y);
}

void requireCoverWithin(const Polygon& outline, const Polygon& cover, const SectionModel& m) {
    if (outline.size() == 0 || cover.size() == 0) return;
    const InsideTest inOutline(m.document.CONC_PT, m.document.NCONC_PT);
    auto outside = [&](const TGPointF& v) {
        return inOutline.place(v.x, v.y) == Geometer::PIP_OUTSIDE &&
               !inOutline.nearBoundary(v.x, v.y, TOUCH_DISTANCE);
    };
    const std::string leaves = "The cover line leaves the concrete outline ";
    auto between = [&](int k) {
        return InputError(leaves + "between corners " + corner(cover, k) + " and " +
                          corner(cover, (k + 1) % cover.size()) + ".");
    };
    for (int k = 0; k < cover.size(); ++k)
        if (outside(cover.corner(k)))
            throw InputError(leaves + "at corner " + corner(cover, k) + ".");
    for (int k = 0; k < cover.size(); ++k) {
        const TGPointF &a = cover.corner(k), &b = cover.corner(k + 1);
        if (outside({a.x + (b.x - a.x) / 2, a.y + (b.y - a.y) / 2})) throw between(k);
    }
    std::vector<Side> sides;
    addSides(outline, 0, sides);
    addSides(cover, 1, sides);
    int crossing = -1;
    forEachOverlap(sides, [&](const Side& s, const Side& t) {
        if (s.owner == t.owner) return false;
        const Side& edge = s.owner == 0 ? s : t;
        const Side& side = s.owner == 0 ? t : s;
        // A corner on the outline, rounded a hair outside, is touching.
        if (!crossProperly(edge, side) || distanceToSide(edge, side.a) <= TOUCH_DISTANCE ||
            distanceToSide(edge, side.b) <= TOUCH_DISTANCE)
            return false;
        crossing = side.k;
        return true;
    });
    if (crossing >= 0) throw between(crossing);
}

std::string barList(const std::vector<int>& bars) {
    constexpr std::size_t NAMED = 10;
    std::string text = bars.size() == 1 ? "Bar " : "Bars ";
    const std::size_t named = std::min(bars.size(), NAMED);
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) text += i + 1 == named && bars.size() <= NAMED ? " and " : ", ";
        text += std::to_string(bars[i]);
    }
    if (bars.size() > NAMED)
        text += Format(" and %D more", {static_cast<long long>(bars.size() - NAMED)});
    return text;
}
}  // namespace

void requireMeshablePolygons(const SectionModel& m) {
    const Polygon outline =
        polygonOf(m.document.CONC_PT, m.document.NCONC_PT, "The concrete outline");
    const Polygon cover = polygonOf(m.document.COVER_PT, m.document.NCOVER_PT, "The cover line");
    requireSimple(outline);
    requireSimple(cover);
    requireCoverWithin(outline, cover, m);
    const auto steel = rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC);
    for (const TPOLYSHAPE& s : steel)
        requireSimple(polygonOf(s.PT, s.NPOINT, Format("Steel polygon %D", {rowNumber(steel, s)})));
    const auto openings = rows(m.document.OPEN_SEC, m.document.NOPEN_SEC);
    for (const TPOLYSHAPE& s : openings)
        requireSimple(polygonOf(s.PT, s.NPOINT, Format("Opening %D", {rowNumber(openings, s)})));
}

std::string barPlacementWarning(const SectionModel& m) {
    if (polygonCorners(m.document.CONC_PT, m.document.NCONC_PT) < 3) return "";
    const InsideTest outline(m.document.CONC_PT, m.document.NCONC_PT);
    std::vector<InsideTest> openings;
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        openings.emplace_back(s.PT, s.NPOINT);
    const auto outlineCorners = corners(m.document.CONC_PT, m.document.NCONC_PT);
    double ymin = outlineCorners.front().Y, ymax = ymin;
    for (const TPOS& p : outlineCorners) {
        ymin = std::min(ymin, p.Y);
        ymax = std::max(ymax, p.Y);
    }
    const double room = std::min(outline.xmax() - outline.xmin(), ymax - ymin);
    std::vector<int> outside, inOpening, big;
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    for (const TBAR& bar : bars) {
        const int b = rowNumber(bars, bar);
        if (outline.place(bar.X, bar.Y) == Geometer::PIP_OUTSIDE)
            outside.push_back(b);
        else if (std::any_of(openings.begin(), openings.end(),
                             [&](const InsideTest& o) { return o.inside(bar.X, bar.Y); }))
            inOpening.push_back(b);
        if (bar.DB > room) big.push_back(b);
    }
    std::vector<std::string> lines;
    if (!outside.empty())
        lines.push_back(barList(outside) + (outside.size() == 1 ? " lies" : " lie") +
                        " outside the concrete outline.");
    if (!inOpening.empty())
        lines.push_back(barList(inOpening) + (inOpening.size() == 1 ? " lies" : " lie") +
                        " inside an opening.");
    if (big.size() == 1)
        lines.push_back(barList(big) + Format(" (diameter %g) is bigger than the section.",
                                              {m.document.BAR[at(big[0])].DB}));
    else if (!big.empty())
        lines.push_back(barList(big) + " are bigger than the section.");
    std::string text;
    for (const std::string& l : lines) text += (text.empty() ? "" : "\n") + l;
    return text;
}

}  // namespace qav
