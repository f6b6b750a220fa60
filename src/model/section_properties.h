#pragma once
// Properties derived from the geometry and the fibres: centroids, steel areas, the bounding
// zone with the fitted view, and the areas and ratios of the meshed section.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

struct PolygonMeasure {
    double A = 0;  // signed: positive counter-clockwise
    double CX = 0;
    double CY = 0;
};

// Area and centroid of corners 0..n-1 closed back to corner 0 (the spare slot is not read).
// With a zero area the centroid is not finite.
PolygonMeasure polygonMeasure(const std::vector<TPOS>& pt, int n);

// A zero-area polygon or a zero-size zone leaves the centroid and zoom globals as they were,
// so no non-finite number reaches the view or the fibre coordinates.
void CALC_POLY_CENTER_POINT(SectionModel& m);
void CALC_STEEL_SECTION_AREA(SectionModel& m);
void CALC_POLY_ZONE(SectionModel& m);
// The geometry derived from the polygons, in the one order every writer of geometry uses: the
// centroids (CALC_POLY_CENTER_POINT), the steel areas as absolute values, so that polygons drawn
// in either direction weigh the same (CALC_STEEL_SECTION_AREA), and the zone with the fitted
// view and the steel centroid (CALC_POLY_ZONE).
void refreshGeometry(SectionModel& m);
// Sums fibre areas by kind into SEC_AREA, STEEL_AREA, REBAR_AREA and the two ratios.
void CALC_AREA_RATIO(SectionModel& m);

// The five read-only "Section Properties" texts: the areas and ratios of the meshed section,
// empty while there are no fibres (rather than the areas of a section that is gone).
struct SectionPropertiesText {
    std::string sectionArea;  // "Section Area(mm2)"  %0.0F
    std::string rebarArea;    // "Rebar Area(mm2)"    %0.0F
    std::string steelArea;    // "Steel Area(mm2)"    %0.0F
    std::string rebarRatio;   // "Rebar Ratio(%)"     %0.2F
    std::string steelRatio;   // "Steel Ratio(%)"     %0.2F
};
SectionPropertiesText sectionPropertiesText(const SectionMesh& mesh);

}  // namespace qav
