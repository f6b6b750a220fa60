#include "interchange/cad_import.h"

#include <cmath>

#include "model/errors.h"
#include "model/section_properties.h"
#include "model/tables.h"

namespace qav {

namespace {

constexpr const char* POLYLINE = "AcDbPolyline";
constexpr const char* CIRCLE = "AcDbCircle";

bool isPolylineOn(CadSession& cad, int i, const char* layer) {
    return cad.objectName(i) == POLYLINE && cad.layer(i) == layer;
}

// B vertices from x0, y0, x1, y1, ... give B + 1 corners (the first repeated at the end) and
// one spare slot. A polyline without a vertex gives no corner.
void readCorners(CadSession& cad, int i, std::vector<TPOS>& pt, int32_t& n) {
    const std::vector<double> c = cad.coordinates(i);
    const std::size_t b = c.size() / 2;
    if (b == 0) {
        n = 0;
        pt.assign(1, TPOS{});
        return;
    }
    pt.assign(b + 2, TPOS{});
    for (std::size_t v = 0; v < b; ++v) pt[v] = {c[2 * v], c[2 * v + 1]};
    pt[b] = pt[0];
    n = static_cast<int32_t>(b + 1);
}

// Centroid and area of the B vertices; a zero area leaves the centroid as it was.
void measure(const std::vector<TPOS>& pt, int32_t n, double& cx, double& cy, double* area) {
    if (n < 2) return;
    const PolygonMeasure pm = polygonMeasure(pt, n - 1);
    if (std::isfinite(pm.CX) && std::isfinite(pm.CY)) {
        cx = pm.CX;
        cy = pm.CY;
    }
    if (area) *area = std::fabs(pm.A);
}

void readPolygons(CadSession& cad, const char* layer, std::vector<TPOLYSHAPE>& table,
                  int32_t& count, bool withArea) {
    int found = 0;
    for (int i = 0; i < cad.count(); ++i)
        if (isPolylineOn(cad, i, layer)) ++found;
    count = found;
    table.assign(static_cast<std::size_t>(found) + 1, TPOLYSHAPE{});
    std::size_t k = 0;
    for (int i = 0; i < cad.count() && k < static_cast<std::size_t>(found); ++i) {
        if (!isPolylineOn(cad, i, layer)) continue;
        TPOLYSHAPE& poly = table[++k];
        readCorners(cad, i, poly.PT, poly.NPOINT);
        measure(poly.PT, poly.NPOINT, poly.CX, poly.CY, withArea ? &poly.GAREA : nullptr);
    }
}

}  // namespace

void IMPORT_SECTION_FROM_CAD(SectionModel& m, CadSession& cad) {
    const int sets = cad.selectionSetCount();
    for (int j = 0; j < sets; ++j) cad.deleteSelectionSet(0);
    cad.addSelectionSet("SSET");
    cad.prompt(CAD_SELECTION_PROMPT);
    cad.selectOnScreen();

    for (int i = 0; i < cad.count(); ++i) {
        if (!isPolylineOn(cad, i, "POLY")) continue;
        CLEAR_MODEL(m);
        readCorners(cad, i, m.document.CONC_PT, m.document.NCONC_PT);
        measure(m.document.CONC_PT, m.document.NCONC_PT, m.document.CONC_CX, m.document.CONC_CY,
                nullptr);
    }
    for (int i = 0; i < cad.count(); ++i)
        if (isPolylineOn(cad, i, "REBARLINE"))
            readCorners(cad, i, m.document.COVER_PT, m.document.NCOVER_PT);

    readPolygons(cad, "STEEL", m.document.STEEL_SEC, m.document.NSTEEL_SEC, true);
    readPolygons(cad, "OPENING", m.document.OPEN_SEC, m.document.NOPEN_SEC, false);

    int circles = 0;
    for (int i = 0; i < cad.count(); ++i)
        if (cad.objectName(i) == CIRCLE) ++circles;
    m.document.NBAR = circles;
    m.document.BAR.assign(static_cast<std::size_t>(circles) + 1, TBAR{});
    int k = 0;
    for (int i = 0; i < cad.count() && k < circles; ++i) {
        if (cad.objectName(i) != CIRCLE) continue;
        const std::vector<double> c = cad.center(i);
        if (c.size() < 2)
            throw InputError("The CAD application gave a circle centre without two coordinates.");
        TBAR& bar = m.document.BAR[static_cast<std::size_t>(++k)];
        bar.X = c[0];
        bar.Y = c[1];
        bar.DB = cad.diameter(i);
    }
    checkTables(m);
    CALC_POLY_ZONE(m);
}

}  // namespace qav
