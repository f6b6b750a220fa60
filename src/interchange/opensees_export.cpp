#include "interchange/opensees_export.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/fibre_arrays.h"
#include "model/errors.h"
#include "model/materials.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

namespace {

// Material variable of a fibre kind; nullptr for a kind that has none.
const char* materialVariable(int32_t ty) {
    switch (ty) {
        case FIB_CORE_CONCRETE:
            return "$Conc1";
        case FIB_COVER_CONCRETE:
            return "$Conc2";
        case FIB_STEEL:
            return "$Steel1";
        case FIB_REBAR:
            return "$Rebar1";
        default:
            return nullptr;
    }
}

// The lines, sectionLines opening the section's braces. Where the analysis takes the concrete a
// bar stands in off the section (the design codes' rule), each bar's fibre is followed by a
// fibre of the core concrete with the bar's area taken off (a negative area), so that the model
// carries what the analysis carries.
std::vector<std::string> tclLines(const SectionModel& m,
                                  const std::vector<std::string>& sectionLines) {
    const bool displaced = fibreLawContext(m).core != nullptr;
    std::vector<std::string> out = {
        "##Section Gen by QAV-SEC",
        "# Units: N, mm, N/mm2. A fibre's two coordinates are the section's X and Y from its "
        "centre,",
        "# the section's local y and z: a 3-D element's Mz is the moment about the section's Y "
        "axis (My)",
        "# and its My the moment about X (Mx). A 2-D model reads only the first coordinate: it "
        "bends",
        "# about the section's Y axis (the P-M curve at 90 degrees), not about X (at 0 degrees)."};
    if (displaced)
        out.emplace_back(
            "# The bars displace the concrete they stand in: after each bar a fibre of its area "
            "is taken off $Conc1.");
    for (const char* l : {"set Conc1 1", "set Conc2 2", "set Steel1 3", "set Rebar1 4"})
        out.emplace_back(l);
    out.insert(out.end(), sectionLines.begin(), sectionLines.end());
    // A fibre of an unknown kind keeps the variable of the fibre before it.
    std::string variable;
    for (const TFIB& f : rows(m.mesh.FIB, m.mesh.NFIB)) {
        if (const char* v = materialVariable(f.TY)) variable = v;
        out.push_back(Format("  fiber %0.6E %0.6E %0.6E %s", {f.X, f.Y, f.AREA, variable}));
        if (displaced && f.TY == FIB_REBAR && f.AREA > 0)
            out.push_back(Format("  fiber %0.6E %0.6E %0.6E $Conc1", {f.X, f.Y, -f.AREA}));
    }
    out.emplace_back("}");
    return out;
}

// Area, centroid and second moments about the origin of a polygon (signed by its turning).
struct PolygonMoments {
    double A = 0, Sx = 0, Sy = 0, Ixx = 0, Iyy = 0;  // Ixx = integral of y^2, Iyy of x^2
    void add(const PolygonMoments& o, double sign) {
        A += sign * o.A;
        Sx += sign * o.Sx;
        Sy += sign * o.Sy;
        Ixx += sign * o.Ixx;
        Iyy += sign * o.Iyy;
    }
    // Polar moment about the centroid.
    double polarAtCentroid() const {
        const double cx = Sy / A, cy = Sx / A;
        return Ixx - A * cy * cy + Iyy - A * cx * cx;
    }
};

int cornerCount(const std::vector<TPOS>& pt, int n) {
    return std::clamp(n, 0, static_cast<int>(pt.size()));
}

// By Green's theorem, edge by edge; turned to positive area.
PolygonMoments polygonMoments(const std::vector<TPOS>& pt, int n) {
    PolygonMoments p;
    const int k = cornerCount(pt, n);
    for (int i = 0; i < k; ++i) {
        const TPOS& a = pt[static_cast<std::size_t>(i)];
        const TPOS& b = pt[static_cast<std::size_t>((i + 1) % k)];
        const double c = a.X * b.Y - b.X * a.Y;
        p.A += c / 2;
        p.Sy += (a.X + b.X) * c / 6;
        p.Sx += (a.Y + b.Y) * c / 6;
        p.Iyy += (a.X * a.X + a.X * b.X + b.X * b.X) * c / 12;
        p.Ixx += (a.Y * a.Y + a.Y * b.Y + b.Y * b.Y) * c / 12;
    }
    if (p.A < 0) {
        PolygonMoments q;
        q.add(p, -1);
        return q;
    }
    return p;
}

double saintVenantJ(const PolygonMoments& p) {
    const double ip = p.polarAtCentroid();
    return ip > 0 ? std::pow(p.A, 4) / (4 * std::numbers::pi * std::numbers::pi * ip) : 0;
}

// The sides of a polygon that is a rectangle (four corners, a closing repeat allowed, square
// corners to 1e-9 of the sides); false otherwise.
bool rectangleSides(const std::vector<TPOS>& pt, int n, double& b, double& h) {
    int k = cornerCount(pt, n);
    if (k == 5 && pt[0].X == pt[4].X && pt[0].Y == pt[4].Y) k = 4;
    if (k != 4) return false;
    double side[4];
    for (int i = 0; i < 4; ++i) {
        const TPOS& a = pt[static_cast<std::size_t>(i)];
        const TPOS& c = pt[static_cast<std::size_t>((i + 1) % 4)];
        const TPOS& d = pt[static_cast<std::size_t>((i + 2) % 4)];
        const double ux = c.X - a.X, uy = c.Y - a.Y, vx = d.X - c.X, vy = d.Y - c.Y;
        side[i] = std::hypot(ux, uy);
        if (!(side[i] > 0) || std::fabs(ux * vx + uy * vy) > 1e-9 * side[i] * std::hypot(vx, vy))
            return false;
    }
    b = std::max(side[0], side[1]);
    h = std::min(side[0], side[1]);
    return true;
}

double rectangleJ(double s1, double s2) {
    const double b = std::max(s1, s2), h = std::min(s1, s2);
    if (!(h > 0)) return 0;
    const double r = h / b;
    return b * h * h * h * (1.0 / 3 - 0.21 * r * (1 - r * r * r * r / 12));
}

bool rectilinear(const std::vector<TPOS>& pt, int k) {
    for (int i = 0; i < k; ++i) {
        const TPOS& a = pt[static_cast<std::size_t>(i)];
        const TPOS& b = pt[static_cast<std::size_t>((i + 1) % k)];
        if (a.X != b.X && a.Y != b.Y) return false;
    }
    return k >= 4;
}

// A rectilinear polygon cut along every corner's Y (byY) or X into slabs; in each slab the
// polygon is a row of rectangles, whose J are summed.
double slabJ(const std::vector<TPOS>& pt, int k, bool byY) {
    auto u = [&](const TPOS& p) { return byY ? p.X : p.Y; };
    auto v = [&](const TPOS& p) { return byY ? p.Y : p.X; };
    std::vector<double> cuts;
    for (int i = 0; i < k; ++i) cuts.push_back(v(pt[static_cast<std::size_t>(i)]));
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    double J = 0;
    std::vector<double> across;
    for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
        const double mid = (cuts[c] + cuts[c + 1]) / 2;
        across.clear();
        for (int i = 0; i < k; ++i) {
            const TPOS& a = pt[static_cast<std::size_t>(i)];
            const TPOS& b = pt[static_cast<std::size_t>((i + 1) % k)];
            if ((v(a) - mid) * (v(b) - mid) < 0) across.push_back(u(a));
        }
        std::sort(across.begin(), across.end());
        for (std::size_t i = 0; i + 1 < across.size(); i += 2)
            J += rectangleJ(across[i + 1] - across[i], cuts[c + 1] - cuts[c]);
    }
    return J;
}

// The corners that turn the outline, without repeats and without corners that lie on the
// straight line through their neighbours.
std::vector<TPOS> withoutStraightCorners(const std::vector<TPOS>& pt, int k) {
    std::vector<TPOS> kept(pt.begin(), pt.begin() + k);
    auto same = [](const TPOS& a, const TPOS& b) { return a.X == b.X && a.Y == b.Y; };
    for (bool dropped = true; dropped && kept.size() > 3;) {
        dropped = false;
        for (std::size_t i = 0; i < kept.size() && kept.size() > 3; ++i) {
            const TPOS& a = kept[(i + kept.size() - 1) % kept.size()];
            const TPOS& c = kept[i];
            const TPOS& d = kept[(i + 1) % kept.size()];
            const bool straight = (c.X - a.X) * (d.Y - c.Y) == (c.Y - a.Y) * (d.X - c.X) &&
                                  (c.X - a.X) * (d.X - c.X) + (c.Y - a.Y) * (d.Y - c.Y) >= 0;
            if (same(a, c) || straight) {
                kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
                dropped = true;
            }
        }
    }
    return kept;
}

// The modulus of the fibres of the given kinds (they share one grade).
double fibreModulus(const SectionModel& m, int kindA, int kindB) {
    for (const TFIB& f : rows(m.mesh.FIB, m.mesh.NFIB)) {
        if ((f.TY == kindA || f.TY == kindB) && std::isfinite(f.E) && f.E > 0) return f.E;
    }
    return 0;
}

}  // namespace

std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m) {
    return tclLines(m, {"section Fiber 1 {"});
}

std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m, const TorsionStiffness& gj) {
    std::vector<std::string> lines = gj.how;
    lines.push_back(Format("section Fiber 1 -GJ %0.6E {", {gj.GJ}));
    return tclLines(m, lines);
}

double polygonTorsionJ(const std::vector<TPOS>& given, int n) {
    // Corners on a straight side (the builders put one in the middle of each side of a
    // rectangle) would cut the shape into slabs that are each far less stiff than the whole.
    const std::vector<TPOS> pt = withoutStraightCorners(given, cornerCount(given, n));
    const int k = static_cast<int>(pt.size());
    double b = 0, h = 0;
    if (rectangleSides(pt, k, b, h)) return rectangleJ(b, h);
    if (rectilinear(pt, k)) return std::max(slabJ(pt, k, true), slabJ(pt, k, false));
    return saintVenantJ(polygonMoments(pt, k));
}

TorsionStiffness autoTorsionStiffness(const SectionModel& m) {
    TorsionStiffness t;
    if (m.document.NCONC_PT > 0) {
        const double Ec = fibreModulus(m, FIB_CORE_CONCRETE, FIB_COVER_CONCRETE);
        if (!(Ec > 0))
            throw InputError(
                "GJ auto takes the concrete's modulus from the fibres: mesh the section first.");
        t.Gc = Ec / (2 * (1 + 0.2));
        const auto openings = rows(m.document.OPEN_SEC, m.document.NOPEN_SEC);
        if (openings.empty()) {
            t.Jc = polygonTorsionJ(m.document.CONC_PT, m.document.NCONC_PT);
        } else {
            PolygonMoments net = polygonMoments(m.document.CONC_PT, m.document.NCONC_PT);
            for (const TPOLYSHAPE& o : openings) net.add(polygonMoments(o.PT, o.NPOINT), -1);
            t.Jc = net.A > 0 ? saintVenantJ(net) : 0;
        }
    }
    const auto pieces = rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC);
    if (!pieces.empty()) {
        // The steel grade's own modulus (the fibres carry one fixed modulus for every steel).
        const TMAT* grade =
            selectedGrade(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_STEEL);
        const double Es = grade != nullptr && std::isfinite(grade->ES) && grade->ES > 0
                              ? grade->ES
                              : fibreModulus(m, FIB_STEEL, FIB_STEEL);
        if (!(Es > 0))
            throw InputError(
                "GJ auto takes the steel's modulus from the fibres: mesh the section first.");
        t.Gs = Es / (2 * (1 + 0.3));
        for (const TPOLYSHAPE& s : pieces) t.Js += polygonTorsionJ(s.PT, s.NPOINT);
    }
    t.GJ = t.Gc * t.Jc + t.Gs * t.Js;
    if (!(t.GJ > 0) || !std::isfinite(t.GJ))
        throw InputError("GJ auto: the section has no shape to take a torsion constant from.");
    t.how = {
        "# GJ auto = Gc Jc + Gs Js (concrete outline, steel polygons); G = E/(2 (1 + nu)), nu 0.2 "
        "concrete, 0.3 steel; St Venant J: rectangles b h^3 (1/3 - 0.21 (h/b) (1 - h^4/(12 b^4))), "
        "rectilinear shapes cut into rectangles, others and openings A^4/(4 pi^2 Ip); hollow "
        "shapes are taken as open (J too low)",
        Format("# Jc %0.6E mm4, Gc %0.6E N/mm2, Js %0.6E mm4, Gs %0.6E N/mm2",
               {t.Jc, t.Gc, t.Js, t.Gs})};
    return t;
}

TorsionStiffness givenTorsionStiffness(double GJ) {
    if (!(GJ > 0) || !std::isfinite(GJ)) throw InputError("GJ must be a positive number (N mm2).");
    TorsionStiffness t;
    t.GJ = GJ;
    t.how = {"# GJ given: " + Format("%0.6E", {GJ}) + " N mm2"};
    return t;
}

TorsionStiffness torsionStiffnessFromText(const SectionModel& m, const std::string& text) {
    std::string word = text;
    word.erase(0, word.find_first_not_of(' '));
    word.erase(word.find_last_not_of(' ') + 1);
    if (word == "auto") return autoTorsionStiffness(m);
    return givenTorsionStiffness(ToFloat(text));
}

}  // namespace qav
