#include "analysis/design_strength.h"

#include <algorithm>
#include <cmath>

#include "analysis/code_laws.h"
#include "analysis/fibre_arrays.h"

namespace qav {

namespace {

// The grade of a fibre in its table, or null where the fibre's number does not name one.
const TMAT* gradeOf(const std::vector<TMAT>& table, int32_t count, int32_t mat) {
    if (mat < 1 || mat > count || static_cast<std::size_t>(mat) >= table.size()) return nullptr;
    return &table[static_cast<std::size_t>(mat)];
}

const TMAT* fibreGrade(const SectionModel& m, const TFIB& f) {
    const SectionDocument& d = m.document;
    switch (f.TY) {
        case FIB_CORE_CONCRETE:
            return gradeOf(d.CONC_MAT, d.NCONCMAT, f.MAT);
        case FIB_COVER_CONCRETE:
            return gradeOf(d.COVER_MAT, d.NCOVERMAT, f.MAT);
        case FIB_STEEL:
        case FIB_REBAR:
            return gradeOf(d.STEEL_MAT, d.NSTEELMAT, f.MAT);
        default:
            return nullptr;
    }
}

// f'c of an ACI grade (its FCU); a grade without one, as the law sees it.
double specifiedStrength(const TMAT* g, const TFIB& f) {
    if (g && g->FCU > 0) return g->FCU;
    return f.FC / 0.85;
}

double yieldStrength(const TMAT* g, const TFIB& f) {
    return g && g->FY > 0 ? g->FY : f.FY1;
}

double yieldStrain(const TMAT* g, const TFIB& f) {
    const double fy = yieldStrength(g, f);
    const double es = g && g->ES > 0 ? g->ES : 200000.0;
    return fy / es;
}

// The core grade's f'c, which the bars displace.
double coreStrength(const SectionModel& m) {
    const SectionDocument& d = m.document;
    if (const TMAT* g = gradeOf(d.CONC_MAT, d.NCONCMAT, d.USE_CONC + 1); g && g->FCU > 0)
        return g->FCU;
    return 0;
}

bool finite3(double a, double b, double c) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

}  // namespace

std::string bareSteelRefusal(const SectionModel& m) {
    if (!codeReducesStrength(sectionCode(m))) return {};
    for (int j = 1; j <= m.mesh.NFIB && static_cast<std::size_t>(j) < m.mesh.FIB.size(); ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if ((f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE) && f.AREA > 0) return {};
    }
    return "ACI 318-19 does not design a section without concrete (its strength reduction and "
           "axial cap are those of a concrete column): there is no design strength; the "
           "strength given is the nominal one.";
}

DesignStrength designStrength(const SectionModel& m) {
    DesignStrength d;
    if (!codeReducesStrength(sectionCode(m))) return d;
    d.refused = bareSteelRefusal(m);
    if (!d.refused.empty()) return d;
    d.applies = true;
    d.ties = m.document.TIES;
    d.phiCompression = aciPhi(0, 1, d.ties);
    d.phiTension = aciPhi(1, 0, d.ties);
    const double fcCore = coreStrength(m);
    double P0 = 0;
    std::vector<DesignStrength::Element> bars, steel;
    const bool exact = exactIntegration(m);
    std::vector<ControlPoint> points;
    for (int j = 1; j <= m.mesh.NFIB && static_cast<std::size_t>(j) < m.mesh.FIB.size(); ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        const TMAT* g = fibreGrade(m, f);
        switch (f.TY) {
            case FIB_CORE_CONCRETE:
            case FIB_COVER_CONCRETE:
                P0 += aciP0(specifiedStrength(g, f), f.AREA, 0, 0);
                break;
            case FIB_REBAR:
                // The bar stands in concrete the fibres under it still count.
                P0 += aciP0(fcCore, 0, f.AREA, yieldStrength(g, f));
                bars.push_back({f.X, f.Y, yieldStrain(g, f)});
                break;
            case FIB_STEEL:
                P0 += aciP0(0, 0, f.AREA, yieldStrength(g, f));
                points.clear();
                addFibrePoints(exact, f, points);
                for (const ControlPoint& p : points) steel.push_back({p.X, p.Y, yieldStrain(g, f)});
                break;
            default:
                break;
        }
    }
    d.P0 = P0 / 1000.0;
    d.PnMax = aciPnMax(d.P0, d.ties);
    d.cap = d.phiCompression * d.PnMax;
    d.tension = bars.empty() ? std::move(steel) : std::move(bars);
    for (const ControlPoint& c : strainControlPoints(m)) d.corners.push_back({c.X, c.Y});
    return d;
}

double phiOfState(const DesignStrength& d, const double* abc) {
    if (!d.applies) return 1;
    if (!abc || d.tension.empty() || !finite3(abc[0], abc[1], abc[2])) return d.phiCompression;
    const bool compressed = std::any_of(d.corners.begin(), d.corners.end(), [&](const auto& c) {
        return abc[0] + abc[1] * c[0] + abc[2] * c[1] > 0;
    });
    if (!compressed) return d.phiTension;
    // The extreme tension element: the largest tensile strain (strain is compression positive).
    const DesignStrength::Element* extreme = nullptr;
    double epsT = 0;
    for (const DesignStrength::Element& e : d.tension) {
        const double t = -(abc[0] + abc[1] * e.x + abc[2] * e.y);
        if (!extreme || t > epsT) {
            extreme = &e;
            epsT = t;
        }
    }
    return aciPhi(epsT, extreme->epsTy, d.ties);
}

DesignPoint designPoint(const DesignStrength& d, double phi, double P, double MX, double MY) {
    if (!d.applies) return {P, MX, MY, false, 1};
    DesignPoint p{phi * P, phi * MX, phi * MY, false, phi};
    if (p.P > d.cap) {
        p.P = d.cap;
        p.capped = true;
    }
    return p;
}

DesignPoint designPointOfState(const DesignStrength& d, const double* abc, double P, double MX,
                               double MY) {
    return designPoint(d, phiOfState(d, abc), P, MX, MY);
}

DesignFraction designFractionOfState(const DesignStrength& d, const double* abc,
                                     double nominalFraction, double P) {
    return designFraction(d, phiOfState(d, abc), nominalFraction, P);
}

DesignFraction designFraction(const DesignStrength& d, double phi, double nominalFraction,
                              double P) {
    if (!d.applies) return {nominalFraction, false, 1};
    DesignFraction f{phi * nominalFraction, false, phi};
    // Only a compression meets the cap; a fraction that is no number stays as it is.
    if (P > 0 && f.fraction * P > d.cap) {
        f.fraction = d.cap / P;
        f.capGoverns = true;
    }
    return f;
}

RaisedLoad raiseToMinimum(double P, double MX, double MY, double K_P, double K_MX, double K_MY) {
    auto sign = [](double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); };
    auto larger = [](double a, double b) { return a > b ? a : b; };
    auto moment = [&](double M, double K) {
        return M == 0 ? K : sign(M) * larger(std::fabs(M), K);
    };
    // The same arithmetic as the solver's own minimum magnitudes, so that a load raised here and
    // solved with none gives the very same numbers.
    return {sign(P) * larger(std::fabs(P), K_P), moment(MX, K_MX), moment(MY, K_MY)};
}

std::array<double, 2> bendingDepths(const SectionModel& m) {
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    auto take = [&](double x, double y) {
        lo[0] = std::min(lo[0], x);
        hi[0] = std::max(hi[0], x);
        lo[1] = std::min(lo[1], y);
        hi[1] = std::max(hi[1], y);
    };
    for (int j = 1; j <= m.mesh.NFIB && static_cast<std::size_t>(j) < m.mesh.FIB.size(); ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (f.SHAPE == 3)
            for (int c = 0; c < 3; ++c)
                take(f.POS[static_cast<std::size_t>(c)].X, f.POS[static_cast<std::size_t>(c)].Y);
        else
            take(f.X, f.Y);
    }
    if (!(hi[0] >= lo[0])) return {0, 0};
    return {hi[0] - lo[0], hi[1] - lo[1]};
}

std::array<double, 2> minimumEccentricityMoments(const SectionModel& m, double P) {
    const std::array<double, 2> h = bendingDepths(m);
    const CodeId code = sectionCode(m);
    const DesignCode& rules = designCode(code);
    return {std::fabs(P) * rules.minimumEccentricity(h[0]) / 1000.0,
            std::fabs(P) * rules.minimumEccentricity(h[1]) / 1000.0};
}

}  // namespace qav
