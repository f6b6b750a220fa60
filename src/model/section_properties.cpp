#include "model/section_properties.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

PolygonMeasure polygonMeasure(const std::vector<TPOS>& pt, int n) {
    n = std::min<int>(n, static_cast<int>(pt.size()));
    double A = 0, Sx = 0, Sy = 0;
    for (int i = 0; i < n; ++i) {
        const TPOS& p1 = pt[static_cast<std::size_t>(i)];
        const TPOS& p2 = pt[static_cast<std::size_t>(i + 1 < n ? i + 1 : 0)];
        const double x1 = p1.X, y1 = p1.Y, x2 = p2.X, y2 = p2.Y;
        A += (y1 + y2) * 0.5 * (x1 - x2);
        Sx += (x1 * x1 + x1 * x2 + x2 * x2) / 6.0 * (y2 - y1);
        Sy += (y1 * y1 + y1 * y2 + y2 * y2) / 6.0 * (x1 - x2);
    }
    return {A, Sx / A, Sy / A};
}

namespace {
bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

void measureSteel(SectionModel& m, bool absolute) {
    for (TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
        const PolygonMeasure pm = polygonMeasure(s.PT, s.NPOINT);
        if (finite(pm.CX, pm.CY)) {
            s.CX = pm.CX;
            s.CY = pm.CY;
        }
        s.GAREA = absolute ? std::fabs(pm.A) : pm.A;
    }
}

struct Zone {
    double xmin, xmax, ymin, ymax;
};

void widen(Zone& z, const TPOS& p) {
    z.xmin = std::min(z.xmin, p.X);
    z.xmax = std::max(z.xmax, p.X);
    z.ymin = std::min(z.ymin, p.Y);
    z.ymax = std::max(z.ymax, p.Y);
}

void fitView(SectionModel& m, const Zone& z, double cx, double cy) {
    m.document.ZONE_XMIN = z.xmin;
    m.document.ZONE_XMAX = z.xmax;
    m.document.ZONE_YMIN = z.ymin;
    m.document.ZONE_YMAX = z.ymax;
    m.view.VIEW_DX = (z.xmax + z.xmin) / 2 - cx;
    m.view.VIEW_DY = (z.ymax + z.ymin) / 2 - cy;
    const double scale =
        std::min(m.view.H * 0.6 / (z.ymax - z.ymin), m.view.W * 0.6 / (z.xmax - z.xmin));
    if (std::isfinite(scale) && scale > 0) m.view.VIEW_SCALE = scale;
}
}  // namespace

void CALC_POLY_CENTER_POINT(SectionModel& m) {
    if (m.document.NCONC_PT > 0) {
        const PolygonMeasure pm = polygonMeasure(m.document.CONC_PT, m.document.NCONC_PT);
        if (finite(pm.CX, pm.CY)) {
            m.document.CONC_CX = pm.CX;
            m.document.CONC_CY = pm.CY;
        }
    }
    measureSteel(m, false);
    m.view.VIEW_CX = 0;
    m.view.VIEW_CY = 0;
    if (m.document.NSTEEL_SEC > 0 && m.document.NCONC_PT == 0) {
        m.view.VIEW_CX = m.document.STEEL_CX;
        m.view.VIEW_CY = m.document.STEEL_CY;
    }
    if (m.document.NCONC_PT != 0) {
        m.view.VIEW_CX = m.document.CONC_CX;
        m.view.VIEW_CY = m.document.CONC_CY;
    }
}

void CALC_STEEL_SECTION_AREA(SectionModel& m) {
    measureSteel(m, true);
}

void refreshGeometry(SectionModel& m) {
    CALC_POLY_CENTER_POINT(m);
    CALC_STEEL_SECTION_AREA(m);
    CALC_POLY_ZONE(m);
}

void CALC_POLY_ZONE(SectionModel& m) {
    if (m.document.NSTEEL_SEC > 0) {
        double atot = 0, sx = 0, sy = 0;
        for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
            atot += s.GAREA;
            sx += s.CX * s.GAREA;
            sy += s.CY * s.GAREA;
        }
        if (finite(sx / atot, sy / atot)) {
            m.document.STEEL_CX = sx / atot;
            m.document.STEEL_CY = sy / atot;
        }
    }
    if (m.document.NCONC_PT == 0) {
        bool any = false;
        Zone z{};
        for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
            const int n = std::min<int>(s.NPOINT, static_cast<int>(s.PT.size()));
            for (int i = 0; i < n; ++i) {
                const TPOS& p = s.PT[static_cast<std::size_t>(i)];
                if (!any) z = {p.X, p.X, p.Y, p.Y};
                any = true;
                widen(z, p);
            }
        }
        if (any) fitView(m, z, m.document.STEEL_CX, m.document.STEEL_CY);
        return;
    }
    const int n = std::min<int>(m.document.NCONC_PT, static_cast<int>(m.document.CONC_PT.size()));
    if (n <= 0) return;
    Zone z{m.document.CONC_PT[0].X, m.document.CONC_PT[0].X, m.document.CONC_PT[0].Y,
           m.document.CONC_PT[0].Y};
    for (int i = 0; i < n; ++i) widen(z, m.document.CONC_PT[static_cast<std::size_t>(i)]);
    fitView(m, z, m.document.CONC_CX, m.document.CONC_CY);
}

void CALC_AREA_RATIO(SectionModel& m) {
    m.mesh.SEC_AREA = 0;
    m.mesh.STEEL_AREA = 0;
    m.mesh.REBAR_AREA = 0;
    for (const TFIB& f : rows(m.mesh.FIB, m.mesh.NFIB)) {
        if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE)
            m.mesh.SEC_AREA += f.AREA;
        else if (f.TY == FIB_STEEL)
            m.mesh.STEEL_AREA += f.AREA;
        else if (f.TY == FIB_REBAR)
            m.mesh.REBAR_AREA += f.AREA;
    }
    m.mesh.STEEL_RATIO = 0;
    m.mesh.REBAR_RATIO = 0;
    if (m.mesh.SEC_AREA != 0) {
        m.mesh.STEEL_RATIO = m.mesh.STEEL_AREA / m.mesh.SEC_AREA * 100;
        m.mesh.REBAR_RATIO = m.mesh.REBAR_AREA / m.mesh.SEC_AREA * 100;
    }
}

SectionPropertiesText sectionPropertiesText(const SectionMesh& mesh) {
    if (mesh.NFIB <= 0) return {};
    return {Format("%0.0F", {mesh.SEC_AREA}), Format("%0.0F", {mesh.REBAR_AREA}),
            Format("%0.0F", {mesh.STEEL_AREA}), Format("%0.2F", {mesh.REBAR_RATIO}),
            Format("%0.2F", {mesh.STEEL_RATIO})};
}

}  // namespace qav
