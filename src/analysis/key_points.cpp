#include "analysis/key_points.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "analysis/roots.h"
#include "model/number_text.h"

namespace qav {

namespace {

constexpr double DEG = std::numbers::pi / 180.0;
const char* const NO_STEEL = "does not exist: no bars or steel take tension";

// Control points projected on the direction (gx, gy): the most compressed (largest) and the
// most tensile (smallest) projection.
// strain: the limit strain of the most compressed point (under the code's limit the least
// ultimate strain among the points at the top).
struct Extent {
    double top = 0, bottom = 0;
    double strain = EPS_LIMIT;
};
// The section as the key points evaluate it: the model, and its fibres and control points
// compiled once for every plane tried.
struct KeySection {
    const SectionModel& m;
    FibreArrays f;
    ForceSum forces(const StrainPlane& p) const {
        const double abc[3] = {p.a1, p.a2, p.a3};
        double ss[3];
        sumFibreForces(f, abc, ss);
        return {ss[0], ss[1], ss[2]};
    }
};

Extent controlExtent(const KeySection& s, double gx, double gy) {
    Extent e{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    for (std::size_t c = 0; c < s.f.cpX.size(); ++c) {
        const double u = gx * s.f.cpX[c] + gy * s.f.cpY[c];
        e.top = std::max(e.top, u);
        e.bottom = std::min(e.bottom, u);
    }
    if (s.f.codeRule) {
        double least = INFINITY;
        for (const LimitPoint& p : s.f.limitPoints)
            if (gx * p.x + gy * p.y >= e.top - 1e-9 * (1 + std::fabs(e.top)) && p.epsCu > 0)
                least = std::min(least, p.epsCu);
        if (std::isfinite(least)) e.strain = least;
    }
    return e;
}

// The plane with the limit strain at projection `top` along (gx, gy) and the curvature kappa.
StrainPlane planeFrom(double gx, double gy, const Extent& e, double kappa) {
    return {e.strain - kappa * e.top, kappa * gx, kappa * gy};
}

bool hasSteel(const SectionModel& m) {
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        // Bars of diameter 0 take no tension either.
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if ((f.TY == FIB_STEEL || f.TY == FIB_REBAR) && f.AREA * f.FY1 > 0) return true;
    }
    return false;
}

// A strain plane for the gradient direction phi (radians), or none.
using PlaneRule = std::optional<StrainPlane> (*)(const KeySection&, double);

std::optional<StrainPlane> decompressionPlane(const KeySection& s, double phi) {
    const double gx = std::cos(phi), gy = std::sin(phi);
    const Extent e = controlExtent(s, gx, gy);
    if (!(e.top > e.bottom)) return std::nullopt;
    return planeFrom(gx, gy, e, e.strain / (e.top - e.bottom));
}

std::optional<StrainPlane> balancedPlane(const KeySection& s, double phi) {
    const SectionModel& m = s.m;
    const double gx = std::cos(phi), gy = std::sin(phi);
    const Extent e = controlExtent(s, gx, gy);
    const TFIB* low = nullptr;
    double lowU = std::numeric_limits<double>::infinity();
    // The steel farthest in tension: a triangle's farthest corner where triangles are
    // integrated exactly, else its centre.
    const bool exact = exactIntegration(m);
    std::vector<ControlPoint> points;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if ((f.TY != FIB_STEEL && f.TY != FIB_REBAR) || !(f.AREA * f.FY1 > 0)) continue;
        points.clear();
        addFibrePoints(exact, f, points);
        for (const ControlPoint& p : points) {
            const double u = gx * p.X + gy * p.Y;
            if (u < lowU) {
                lowU = u;
                low = &f;
            }
        }
    }
    if (!low || !(e.top > lowU)) return std::nullopt;
    const double ey = steelLawStrength(low->FY1) / STEEL_LAW_MODULUS;
    return planeFrom(gx, gy, e, (e.strain + ey) / (e.top - lowU));
}

// Axial force falls as the curvature grows (every strain but the top one falls, and both laws
// are monotonic), so zero axial force is bracketed and closed in on.
std::optional<StrainPlane> pureBendingPlane(const KeySection& s, double phi) {
    const double gx = std::cos(phi), gy = std::sin(phi);
    const Extent e = controlExtent(s, gx, gy);
    const double span = e.top - e.bottom;
    if (!(span > 0)) return std::nullopt;
    auto axial = [&](double rho) {
        return s.forces(planeFrom(gx, gy, e, rho * e.strain / span)).N;
    };
    double lo = 0, hi = 1;
    double pHi = axial(hi);
    while (pHi > 0 && hi < 1e9) {
        lo = hi;
        hi *= 4;
        pHi = axial(hi);
    }
    if (pHi > 0) return std::nullopt;
    const double rho = rootIn(axial, lo, axial(lo), hi, pHi, {400, 0, 1e-15, 0});
    return planeFrom(gx, gy, e, rho * e.strain / span);
}

// Turns the gradient direction until the moment of the plane points along theta (radians):
// no moment across the direction, a positive one along it. The search starts where a section
// symmetric about the direction would be, scans a half turn either side, and closes in on the
// bracket nearest to that start.
std::optional<StrainPlane> turnToAngle(const KeySection& s, double theta, PlaneRule rule) {
    const double st = std::sin(theta), ct = std::cos(theta);
    struct Eval {
        bool ok = false;
        double across = 0, along = 0;
        StrainPlane plane;
    };
    auto eval = [&](double phi) {
        Eval v;
        const auto p = rule(s, phi);
        if (!p) return v;
        const ForceSum t = s.forces(*p);
        v.ok = true;
        v.along = t.MX * st + t.MY * ct;
        v.across = t.MX * ct - t.MY * st;
        v.plane = *p;
        return v;
    };
    const double phi0 = std::atan2(ct, st);
    constexpr int STEPS = 36;
    const double step = 2.5 * DEG;
    std::optional<std::pair<double, double>> bracket;
    int best = STEPS + 1;
    Eval prev = eval(phi0 - STEPS * step);
    for (int k = -STEPS + 1; k <= STEPS; ++k) {
        const Eval cur = eval(phi0 + k * step);
        if (prev.ok && cur.ok && prev.along > 0 && cur.along > 0 &&
            ((prev.across <= 0 && cur.across >= 0) || (prev.across >= 0 && cur.across <= 0))) {
            const int distance = std::min(std::abs(k), std::abs(k - 1));
            if (distance < best) {
                best = distance;
                bracket = std::pair{phi0 + (k - 1) * step, phi0 + k * step};
            }
        }
        prev = cur;
    }
    if (!bracket) return std::nullopt;
    const Eval vlo = eval(bracket->first), vhi = eval(bracket->second);
    if (vlo.across == 0) return vlo.plane;
    if (vhi.across == 0) return vhi.plane;
    const double phi = rootIn(
        [&](double x) {
            const Eval v = eval(x);
            return v.ok ? std::optional<double>(v.across) : std::nullopt;
        },
        bracket->first, vlo.across, bracket->second, vhi.across, {400, 0, 1e-15, 0});
    const Eval v = eval(phi);
    return v.ok ? std::optional<StrainPlane>(v.plane) : std::nullopt;
}

void fill(KeyPoint& k, const SectionModel& m, const StrainPlane& plane, const ForceSum& t,
          double ANG) {
    // A state that is no number (a singular solve) is not a point: it never reaches the table.
    if (!(std::isfinite(t.N) && std::isfinite(t.MX) && std::isfinite(t.MY))) {
        k.missing = "not found: the solve gave no finite state";
        return;
    }
    k.exists = true;
    k.plane = plane;
    k.axis = neutralAxis(m, plane);
    k.P = t.N / 1e3;
    k.MX = t.MX / 1e6;
    k.MY = t.MY / 1e6;
    k.M = k.MX * std::sin(ANG * DEG) + k.MY * std::cos(ANG * DEG);
}

// The key point as the code's design strength reduces it: phi of its own state, the nominal
// values kept beside.
void reduceToDesign(const DesignStrength& d, KeyPoint& k) {
    const double abc[3] = {k.plane.a1, k.plane.a2, k.plane.a3};
    k.design = true;
    const DesignPoint p = designPointOfState(d, abc, k.P, k.MX, k.MY);
    k.phi = p.phi;
    k.nomP = k.P;
    k.nomM = k.M;
    k.P = p.P;
    k.MX = p.MX;
    k.MY = p.MY;
    k.M = k.phi * k.M;
}

}  // namespace

std::vector<KeyPoint> PM_KEY_POINTS(const SectionModel& m, double ANG, Messages& msgs) {
    const bool steel = hasSteel(m);
    std::vector<KeyPoint> out;
    RunStats stats;

    // The axial ends are the solver's states under a pure axial load, as the curve's own ends;
    // the first of them refuses a section without a mesh of its own before anything is searched.
    for (const double sense : {1.0, -1.0}) {
        KeyPoint k;
        k.kind = sense > 0 ? KeyPointKind::PureCompression : KeyPointKind::PureTension;
        k.label = sense > 0 ? "Pure compression" : "Pure tension";
        if (sense < 0 && !steel) {
            k.missing = NO_STEEL;
        } else {
            const SectionState s = SECTION_STATE(m, sense, 0, 0, 0, 0, 0, msgs);
            stats.add(s.solve, m.mesh.NFIB);
            fill(k, m, s.plane, s.forces.total(), ANG);
            k.axis = NeutralAxis{};  // an axial state has no neutral axis worth a number
        }
        out.push_back(k);
    }

    struct Rule {
        KeyPointKind kind;
        const char* name;
        PlaneRule rule;
        bool needsSteel;
    };
    const Rule rules[] = {{KeyPointKind::Decompression, "Decompression", decompressionPlane, false},
                          {KeyPointKind::Balanced, "Balanced", balancedPlane, true},
                          {KeyPointKind::PureBending, "Pure bending", pureBendingPlane, true}};
    const KeySection section{m, FibreArrays(m)};
    for (const Rule& r : rules) {
        for (const int branch : {1, -1}) {
            const double theta = branch > 0 ? ANG : ANG + 180;
            KeyPoint k;
            k.kind = r.kind;
            k.branch = branch;
            k.label = std::string(r.name) + " (" + AngleText(theta) + ")";
            if (r.needsSteel && !steel) {
                k.missing = NO_STEEL;
            } else if (const auto plane = turnToAngle(section, theta * DEG, r.rule)) {
                fill(k, m, *plane, section.forces(*plane), ANG);
            } else {
                k.missing = "not found: no strain plane puts the moment along this angle";
            }
            out.push_back(k);
        }
    }
    // The axial ends are solves: the user hears when one did not converge.
    reportUnconverged(stats, msgs);
    for (KeyPoint& k : out) k.limit = strainLimitInForce(m);
    if (const DesignStrength d = designStrength(m); d.applies)
        for (KeyPoint& k : out)
            if (k.exists) reduceToDesign(d, k);
    return out;
}

std::vector<std::string> keyPointsText(const std::vector<KeyPoint>& points, double ANG) {
    std::vector<std::string> out;
    out.push_back("");
    const StrainLimit limit = points.empty() ? StrainLimit::Control : points.front().limit;
    out.push_back("Key Points (Moment angle = " + AngleText(ANG) + ", " +
                  std::string(strainLimitCaption(limit)) + ")");
    const bool design =
        std::any_of(points.begin(), points.end(), [](const KeyPoint& k) { return k.design; });
    out.push_back(PAD_RIGHT(24, "Point") + PAD_LEFT(14, "P[kN]") + PAD_LEFT(14, "M[kNm]") +
                  PAD_LEFT(16, "NA Depth[mm]") +
                  (design ? PAD_LEFT(14, "Pn[kN]") + PAD_LEFT(14, "Mn[kNm]") + PAD_LEFT(8, "phi")
                          : std::string()));
    for (const KeyPoint& k : points) {
        if (!k.exists) {
            out.push_back(PAD_RIGHT(24, k.label) + k.missing);
            continue;
        }
        out.push_back(
            PAD_RIGHT(24, k.label) + PAD_LEFT(14, Format("%0.3F", {k.P})) +
            PAD_LEFT(14, Format("%0.3F", {k.M})) +
            PAD_LEFT(16, k.axis.exists ? Format("%0.1F", {k.axis.depth}) : std::string("-")) +
            (k.design ? PAD_LEFT(14, Format("%0.3F", {k.nomP})) +
                            PAD_LEFT(14, Format("%0.3F", {k.nomM})) +
                            PAD_LEFT(8, Format("%0.3F", {k.phi}))
                      : std::string()));
    }
    return out;
}

namespace {
// A CSV field: one with a comma or a quote is quoted, its quotes doubled.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string q = "\"";
    for (char ch : text) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}
}  // namespace

std::vector<std::string> keyPointsCsv(const std::vector<KeyPoint>& points) {
    const bool design =
        std::any_of(points.begin(), points.end(), [](const KeyPoint& k) { return k.design; });
    std::vector<std::string> out{std::string("Point,P [kN],M [kNm],NA Depth [mm]") +
                                 (design ? ",Pn [kN],Mn [kNm],phi" : "") + ",Note"};
    for (const KeyPoint& k : points) {
        std::string row = k.label;
        if (!k.exists) {
            row += std::string(design ? ",,,,,," : ",,,,") + csvField(k.missing);
        } else {
            row += "," + Format("%0.3F", {k.P}) + "," + Format("%0.3F", {k.M}) + "," +
                   (k.axis.exists ? Format("%0.1F", {k.axis.depth}) : std::string());
            if (design)
                row += k.design ? "," + Format("%0.3F", {k.nomP}) + "," +
                                      Format("%0.3F", {k.nomM}) + "," + Format("%0.3F", {k.phi})
                                : std::string(",,,");
            row += ",";
        }
        out.push_back(row);
    }
    return out;
}

}  // namespace qav
