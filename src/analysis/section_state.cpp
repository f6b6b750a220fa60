#include "analysis/section_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"

namespace qav {

namespace {

double sign(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}

// The load the solver works on: each component raised to its minimum magnitude, as the solver
// itself does, so that the state's forces can be compared with it.
double minimumAxial(double P, double K) {
    return sign(P) * std::max(std::fabs(P), K);
}
double minimumMoment(double M, double K) {
    return M == 0 ? K : sign(M) * std::max(std::fabs(M), K);
}

// The plane through the fibres' stored strains, by least squares about their centroid (exact,
// as the strains lie on a plane; the centroid keeps the normal equations well conditioned).
StrainPlane fitPlane(const SectionModel& m) {
    double n = 0, sx = 0, sy = 0;
    for (int j = 1; j <= m.NFIB; ++j) {
        sx += m.FIB[static_cast<std::size_t>(j)].X;
        sy += m.FIB[static_cast<std::size_t>(j)].Y;
        n += 1;
    }
    if (n == 0) return {};
    const double cx = sx / n, cy = sy / n;
    double xx = 0, xy = 0, yy = 0, e = 0, ex = 0, ey = 0;
    for (int j = 1; j <= m.NFIB; ++j) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(j)];
        const double x = f.X - cx, y = f.Y - cy;
        xx += x * x;
        xy += x * y;
        yy += y * y;
        e += f.EPS;
        ex += f.EPS * x;
        ey += f.EPS * y;
    }
    const double det = xx * yy - xy * xy;
    StrainPlane p;
    if (det > 0) {
        p.a2 = (ex * yy - ey * xy) / det;
        p.a3 = (ey * xx - ex * xy) / det;
    }
    const double mean = e / n;
    p.a1 = mean - p.a2 * cx - p.a3 * cy;
    return p;
}

}  // namespace

double fibreStress(const TFIB& f, double eps) {
    double s = f.STRESS;
    if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE)
        CONCRETE01(f.FC, f.EPS_0, eps, s);
    else if (f.TY == FIB_STEEL || f.TY == FIB_REBAR)
        STEEL01(STEEL_LAW_MODULUS, f.FY1, eps, s);
    return s;
}

KindForces planeForces(const SectionModel& m, const StrainPlane& p) {
    KindForces k;
    for (int j = 1; j <= m.NFIB; ++j) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(j)];
        const double force = fibreStress(f, p.at(f.X, f.Y)) * f.AREA;
        ForceSum& s = (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE) ? k.concrete
                      : f.TY == FIB_REBAR                                       ? k.bars
                      : f.TY == FIB_STEEL                                       ? k.steel
                                                                                : k.other;
        s.add(force, f.X, f.Y);
    }
    return k;
}

NeutralAxis neutralAxis(const SectionModel& m, const StrainPlane& p) {
    NeutralAxis a;
    const double g = std::hypot(p.a2, p.a3);
    if (!(g > 0) || !std::isfinite(g) || m.NCFIB < 1) return a;
    double top = -std::numeric_limits<double>::infinity();
    for (int j = 1; j <= m.NCFIB; ++j) {
        const TCFIB& c = m.CFIB[static_cast<std::size_t>(j)];
        top = std::max(top, p.at(c.X, c.Y));
    }
    const double depth = top / g;
    if (!std::isfinite(depth) || std::fabs(depth) > MAX_LENGTH_MM) return a;
    // The zero line runs across the gradient.
    double angle = std::atan2(p.a3, p.a2) * 180.0 / std::numbers::pi + 90.0;
    while (angle > 90) angle -= 180;
    while (angle <= -90) angle += 180;
    a.exists = true;
    a.angle = angle;
    a.depth = depth;
    return a;
}

SectionState SECTION_STATE(const SectionModel& model, double P, double MX, double MY, double K_P,
                           double K_MX, double K_MY, Messages& msgs) {
    // The solver writes its last state into the fibres: work on a copy so the caller's model
    // keeps whatever state it held.
    SectionModel m = model;
    requireFibres(m);
    SectionState s;
    s.P = minimumAxial(P, K_P);
    s.MX = minimumMoment(MX, K_MX);
    s.MY = minimumMoment(MY, K_MY);
    if (!std::isfinite(s.P) || !std::isfinite(s.MX) || !std::isfinite(s.MY))
        throw InputError("The load must be finite numbers.");
    if (s.P == 0 && s.MX == 0 && s.MY == 0)
        throw InputError("The load is zero: a state needs an axial force or a moment.");

    SectionSolver solver(m, msgs);
    s.solve = solver.loadFraction(P, MX, MY, K_P, K_MX, K_MY, m.STRAIN_LIMIT_MODE);
    solver.storeState(m);
    s.plane = fitPlane(m);
    s.axis = neutralAxis(m, s.plane);

    s.fibres.reserve(static_cast<std::size_t>(m.NFIB));
    for (int j = 1; j <= m.NFIB; ++j) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(j)];
        FibreStateRow r;
        r.number = j;
        r.X = f.X;
        r.Y = f.Y;
        r.AREA = f.AREA;
        r.TY = f.TY;
        r.MAT = f.MAT;
        r.strain = f.EPS;
        r.stress = f.STRESS;
        r.force = f.STRESS * f.AREA / 1000.0;
        s.fibres.push_back(r);
        s.largestCompression = std::max(s.largestCompression, f.EPS);
        s.largestTension = std::min(s.largestTension, f.EPS);
    }
    for (int j = 1; j <= m.NCFIB; ++j) {
        const TCFIB& c = m.CFIB[static_cast<std::size_t>(j)];
        ControlPointState cp{c.X, c.Y, s.plane.at(c.X, c.Y), false};
        // The corners the solver scaled to the limit (tension beyond it is allowed).
        cp.atLimit = std::fabs(std::fabs(cp.strain) - EPS_LIMIT) <= 1e-6 * EPS_LIMIT;
        s.controlPoints.push_back(cp);
        s.largestCompression = std::max(s.largestCompression, cp.strain);
        s.largestTension = std::min(s.largestTension, cp.strain);
    }
    // The forces as the fibres hold them (the solver's own sums).
    for (const FibreStateRow& r : s.fibres) {
        ForceSum& k = (r.TY == FIB_CORE_CONCRETE || r.TY == FIB_COVER_CONCRETE) ? s.forces.concrete
                      : r.TY == FIB_REBAR                                       ? s.forces.bars
                      : r.TY == FIB_STEEL                                       ? s.forces.steel
                                                                                : s.forces.other;
        k.add(r.stress * r.AREA, r.X, r.Y);
    }
    return s;
}

std::string fibreKindName(int TY) {
    switch (TY) {
        case FIB_CORE_CONCRETE:
            return "core concrete";
        case FIB_COVER_CONCRETE:
            return "cover concrete";
        case FIB_STEEL:
            return "steel";
        case FIB_REBAR:
            return "rebar";
        default:
            return "other";
    }
}

namespace {
std::string materialName(const SectionModel& m, int TY, int MAT) {
    const std::vector<TMAT>* table = TY == FIB_CORE_CONCRETE                ? &m.CONC_MAT
                                     : TY == FIB_COVER_CONCRETE             ? &m.COVER_MAT
                                     : (TY == FIB_STEEL || TY == FIB_REBAR) ? &m.STEEL_MAT
                                                                            : nullptr;
    if (table && MAT >= 1 && static_cast<std::size_t>(MAT) < table->size()) {
        std::string name = (*table)[static_cast<std::size_t>(MAT)].NAME;
        // A name is one CSV field: no separators inside.
        std::replace(name.begin(), name.end(), ',', ' ');
        if (!name.empty()) return name;
    }
    return Format("%D", {MAT});
}
}  // namespace

std::vector<std::string> sectionStateCsv(const SectionModel& m, const SectionState& s) {
    std::vector<std::string> out{
        "No,X[mm],Y[mm],Area[mm2],Kind,Material,Strain,Stress[N/mm2],Force[kN]"};
    out.reserve(s.fibres.size() + 1);
    for (const FibreStateRow& r : s.fibres) {
        out.push_back(Format("%D,%0.3F,%0.3F,%0.3F,", {r.number, r.X, r.Y, r.AREA}) +
                      fibreKindName(r.TY) + "," + materialName(m, r.TY, r.MAT) + "," +
                      Format("%0.8F,%0.4F,%0.6F", {r.strain, r.stress, r.force}));
    }
    return out;
}

void reportStateUnconverged(const SectionState& s, Messages& msgs) {
    RunStats stats;
    stats.add(s.solve, static_cast<int>(s.fibres.size()));
    reportUnconverged(stats, msgs);
}

std::vector<std::string> sectionStateSummary(const SectionState& s) {
    std::vector<std::string> out;
    out.push_back(
        Format("Load (P comp. +, Mxx, Myy) %0.3F kN, %0.3F kNm, %0.3F kNm", {s.P, s.MX, s.MY}));
    out.push_back(Format("Load Fraction              %0.4F", {s.solve.loadFraction}) +
                  (s.solve.converged
                       ? ""
                       : Format("  (not converged, %D iterations)", {s.solve.iterations})));
    if (s.axis.exists) {
        out.push_back(Format("Neutral Axis Angle         %0.2F deg", {s.axis.angle}));
        out.push_back(Format("Neutral Axis Depth         %0.1F mm", {s.axis.depth}));
    } else {
        out.push_back("Neutral Axis               none (uniform strain)");
    }
    out.push_back(Format("Largest Compressive Strain %0.6F", {s.largestCompression}));
    out.push_back(Format("Largest Tensile Strain     %0.6F", {s.largestTension}));
    auto line = [&](const char* name, const ForceSum& f) {
        out.push_back(Format("%s P %0.3F kN, Mxx %0.3F kNm, Myy %0.3F kNm",
                             {std::string(name), f.N / 1e3, f.MX / 1e6, f.MY / 1e6}));
    };
    line("Concrete                  ", s.forces.concrete);
    line("Bars                      ", s.forces.bars);
    line("Steel Section             ", s.forces.steel);
    if (s.forces.other.N != 0 || s.forces.other.MX != 0 || s.forces.other.MY != 0)
        line("Other Fibres              ", s.forces.other);
    line("Total                     ", s.forces.total());
    return out;
}

}  // namespace qav
