#include "model/section_properties.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

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
    for (int32_t k = 1; k <= m.NSTEEL_SEC; ++k) {
        TPOLYSHAPE& s = m.STEEL_SEC[static_cast<std::size_t>(k)];
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
    m.ZONE_XMIN = z.xmin;
    m.ZONE_XMAX = z.xmax;
    m.ZONE_YMIN = z.ymin;
    m.ZONE_YMAX = z.ymax;
    m.VIEW_DX = (z.xmax + z.xmin) / 2 - cx;
    m.VIEW_DY = (z.ymax + z.ymin) / 2 - cy;
    const double scale = std::min(m.H * 0.6 / (z.ymax - z.ymin), m.W * 0.6 / (z.xmax - z.xmin));
    if (std::isfinite(scale) && scale > 0) m.VIEW_SCALE = scale;
}
}  // namespace

void CALC_POLY_CENTER_POINT(SectionModel& m) {
    if (m.NCONC_PT > 0) {
        const PolygonMeasure pm = polygonMeasure(m.CONC_PT, m.NCONC_PT);
        if (finite(pm.CX, pm.CY)) {
            m.CONC_CX = pm.CX;
            m.CONC_CY = pm.CY;
        }
    }
    measureSteel(m, false);
    m.VIEW_CX = 0;
    m.VIEW_CY = 0;
    if (m.NSTEEL_SEC > 0 && m.NCONC_PT == 0) {
        m.VIEW_CX = m.STEEL_CX;
        m.VIEW_CY = m.STEEL_CY;
    }
    if (m.NCONC_PT != 0) {
        m.VIEW_CX = m.CONC_CX;
        m.VIEW_CY = m.CONC_CY;
    }
}

void CALC_STEEL_SECTION_AREA(SectionModel& m) {
    measureSteel(m, true);
}

void CALC_POLY_ZONE(SectionModel& m) {
    if (m.NSTEEL_SEC > 0) {
        double atot = 0, sx = 0, sy = 0;
        for (int32_t k = 1; k <= m.NSTEEL_SEC; ++k) {
            const TPOLYSHAPE& s = m.STEEL_SEC[static_cast<std::size_t>(k)];
            atot += s.GAREA;
            sx += s.CX * s.GAREA;
            sy += s.CY * s.GAREA;
        }
        if (finite(sx / atot, sy / atot)) {
            m.STEEL_CX = sx / atot;
            m.STEEL_CY = sy / atot;
        }
    }
    if (m.NCONC_PT == 0) {
        bool any = false;
        Zone z{};
        for (int32_t k = 1; k <= m.NSTEEL_SEC; ++k) {
            const TPOLYSHAPE& s = m.STEEL_SEC[static_cast<std::size_t>(k)];
            const int n = std::min<int>(s.NPOINT, static_cast<int>(s.PT.size()));
            for (int i = 0; i < n; ++i) {
                const TPOS& p = s.PT[static_cast<std::size_t>(i)];
                if (!any) z = {p.X, p.X, p.Y, p.Y};
                any = true;
                widen(z, p);
            }
        }
        if (any) fitView(m, z, m.STEEL_CX, m.STEEL_CY);
        return;
    }
    const int n = std::min<int>(m.NCONC_PT, static_cast<int>(m.CONC_PT.size()));
    if (n <= 0) return;
    Zone z{m.CONC_PT[0].X, m.CONC_PT[0].X, m.CONC_PT[0].Y, m.CONC_PT[0].Y};
    for (int i = 0; i < n; ++i) widen(z, m.CONC_PT[static_cast<std::size_t>(i)]);
    fitView(m, z, m.CONC_CX, m.CONC_CY);
}

void CALC_AREA_RATIO(SectionModel& m) {
    m.SEC_AREA = 0;
    m.STEEL_AREA = 0;
    m.REBAR_AREA = 0;
    for (int32_t i = 1; i <= m.NFIB; ++i) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(i)];
        if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE)
            m.SEC_AREA += f.AREA;
        else if (f.TY == FIB_STEEL)
            m.STEEL_AREA += f.AREA;
        else if (f.TY == FIB_REBAR)
            m.REBAR_AREA += f.AREA;
    }
    m.STEEL_RATIO = 0;
    m.REBAR_RATIO = 0;
    if (m.SEC_AREA != 0) {
        m.STEEL_RATIO = m.STEEL_AREA / m.SEC_AREA * 100;
        m.REBAR_RATIO = m.REBAR_AREA / m.SEC_AREA * 100;
    }
    m.PROPERTIES_TEXT.Edit2 = Format("%0.0F", {m.SEC_AREA});
    m.PROPERTIES_TEXT.Edit3 = Format("%0.0F", {m.REBAR_AREA});
    m.PROPERTIES_TEXT.Edit5 = Format("%0.0F", {m.STEEL_AREA});
    m.PROPERTIES_TEXT.Edit4 = Format("%0.2F", {m.REBAR_RATIO});
    m.PROPERTIES_TEXT.Edit6 = Format("%0.2F", {m.STEEL_RATIO});
}

}  // namespace qav
