#include "mesh/fibre_area_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "mesh/inside_test.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

namespace {
enum Role { OUTLINE, STEEL, OPENING };

struct Side {
    double x0, y0, x1, y1;  // y0 < y1
    int polygon;
    double xAt(double y) const { return x0 + (x1 - x0) * (y - y0) / (y1 - y0); }
};

struct Region {
    std::vector<Side> sides;
    std::vector<Role> roles;  // by polygon
    int count(Role r) const { return static_cast<int>(std::count(roles.begin(), roles.end(), r)); }
    void add(const std::vector<TPOS>& pt, int npoint, Role role) {
        const int n = polygonCorners(pt, npoint);
        if (n < 3) return;
        const int id = static_cast<int>(roles.size());
        roles.push_back(role);
        for (int k = 0; k < n; ++k) {
            const TPOS& a = pt[static_cast<std::size_t>(k)];
            const TPOS& b = pt[static_cast<std::size_t>((k + 1) % n)];
            if (a.Y == b.Y) continue;  // a level side bounds no strip
            sides.push_back(a.Y < b.Y ? Side{a.X, a.Y, b.X, b.Y, id}
                                      : Side{b.X, b.Y, a.X, a.Y, id});
        }
    }
};

// Heights where the order of the sides may change: their ends and their crossings. The sides
// come sorted by their lower end, so only those sharing a height are compared. False when
// that takes more than `work` steps.
bool breaks(const std::vector<Side>& s, long long& work, std::vector<double>& y) {
    for (const Side& a : s) {
        y.push_back(a.y0);
        y.push_back(a.y1);
    }
    std::vector<const Side*> active;
    for (const Side& b : s) {
        std::erase_if(active, [&](const Side* a) { return a->y1 <= b.y0; });
        work += static_cast<long long>(active.size()) + 1;
        if (work > FIBRE_AREA_MAX_WORK) return false;
        for (const Side* pa : active) {
            const Side& a = *pa;
            const double lo = std::max(a.y0, b.y0), hi = std::min(a.y1, b.y1);
            if (!(lo < hi)) continue;
            const double dlo = a.xAt(lo) - b.xAt(lo), dhi = a.xAt(hi) - b.xAt(hi);
            if ((dlo < 0 && dhi > 0) || (dlo > 0 && dhi < 0))
                y.push_back(lo + (hi - lo) * dlo / (dlo - dhi));
        }
        active.push_back(&b);
    }
    std::sort(y.begin(), y.end());
    y.erase(std::unique(y.begin(), y.end()), y.end());
    return true;
}

// The mesh cuts its triangles at every polygon side, so neither a finer nor a coarser mesh
// changes the areas; what still loses area is corners merged into one node.
const char* const ADVICE =
    "the mesh misses part of the section; corners closer together than 0.0001 mm make one mesh "
    "node, so move such corners apart.";

std::string thousands(double v) {
    std::string digits = Format("%0.0F", {std::fabs(v)});
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return (v < 0 ? "-" : "") + digits;
}
}  // namespace

std::optional<PolygonAreas> sectionPolygonAreas(const SectionModel& m) {
    Region r;
    r.add(m.document.CONC_PT, m.document.NCONC_PT, OUTLINE);
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        r.add(s.PT, s.NPOINT, STEEL);
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        r.add(s.PT, s.NPOINT, OPENING);
    std::sort(r.sides.begin(), r.sides.end(),
              [](const Side& p, const Side& q) { return p.y0 < q.y0; });
    long long work = 0;
    std::vector<double> y;
    if (!breaks(r.sides, work, y)) return std::nullopt;

    // Strip by strip the sides keep their order, and the width of every piece between two
    // neighbouring sides changes linearly: the trapezoid rule is exact. The sides spanning a
    // strip are those begun at or below it and not yet ended.
    PolygonAreas a;
    struct Cut {
        double lo, mid, hi;
        int polygon;
    };
    std::vector<Cut> cuts;
    std::vector<char> inside(r.roles.size());
    std::vector<const Side*> spanning;
    std::size_t next = 0;
    for (std::size_t k = 0; k + 1 < y.size(); ++k) {
        const double ylo = y[k], yhi = y[k + 1], ymid = (ylo + yhi) / 2;
        while (next < r.sides.size() && r.sides[next].y0 <= ylo)
            spanning.push_back(&r.sides[next++]);
        std::erase_if(spanning, [&](const Side* s) { return s->y1 < yhi; });
        work += static_cast<long long>(spanning.size()) + 1;
        if (work > FIBRE_AREA_MAX_WORK) return std::nullopt;
        cuts.clear();
        for (const Side* s : spanning)
            cuts.push_back({s->xAt(ylo), s->xAt(ymid), s->xAt(yhi), s->polygon});
        std::sort(cuts.begin(), cuts.end(), [](const Cut& p, const Cut& q) {
            return p.mid != q.mid ? p.mid < q.mid : p.polygon < q.polygon;
        });
        for (const Cut& c : cuts) inside[static_cast<std::size_t>(c.polygon)] = 0;
        int within[3] = {0, 0, 0};  // polygons the piece lies in, by role
        for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
            const auto p = static_cast<std::size_t>(cuts[c].polygon);
            inside[p] ^= 1;
            within[r.roles[p]] += inside[p] ? 1 : -1;
            const bool outline = within[OUTLINE] > 0, steel = within[STEEL] > 0,
                       opening = within[OPENING] > 0;
            if (opening || !(outline || steel)) continue;
            const double piece =
                ((cuts[c + 1].lo - cuts[c].lo) + (cuts[c + 1].hi - cuts[c].hi)) / 2 * (yhi - ylo);
            (steel ? a.steel : a.concrete) += piece;
        }
    }
    return a;
}

std::optional<std::string> fibreAreaWarning(const SectionModel& m, const MeshSummary& s) {
    const std::optional<PolygonAreas> polygons = sectionPolygonAreas(m);
    if (!polygons) return std::nullopt;
    struct Kind {
        const char* name;
        double fibres, polygons;
    };
    const Kind kinds[] = {
        {"Concrete", s.fibres[FIB_CORE_CONCRETE].area + s.fibres[FIB_COVER_CONCRETE].area,
         polygons->concrete},
        {"Steel", s.fibres[FIB_STEEL].area, polygons->steel},
    };
    std::string text;
    for (const Kind& k : kinds) {
        if (k.polygons <= 0 && k.fibres <= 0) continue;
        const double diff = k.polygons > 0 ? (k.fibres - k.polygons) / k.polygons : 1;
        if (std::fabs(diff) <= FIBRE_AREA_TOLERANCE) continue;
        if (!text.empty()) text += "\n";
        text += std::string(k.name) + " fibres cover " + thousands(k.fibres) + " mm\u00b2 of " +
                thousands(k.polygons) + " mm\u00b2 (" + (diff < 0 ? "\u2212" : "+") +
                Format("%0.1F", {std::fabs(diff) * 100}) + " %): " + ADVICE;
    }
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace qav
