#pragma once
// Sections built by hand for the mesher's tests, with the corner orders and bar layouts the
// section builders produce.
#include <vector>

#include "model/section_model.h"
#include "model/section_properties.h"

namespace qav::testing {

std::vector<TPOS> closedPoints(std::vector<TPOS> corners);  // adds the spare slot (= corner 0)
TPOLYSHAPE polygon(std::vector<TPOS> corners);

// Rectangle column B x H (x, y) with mid-side corners, cover d1 (run the other way round, as
// the typical-section builder does), nx bars per x face, ny per y face, 4 corner bars.
SectionModel rectangularColumn(double B, double H, double d1, int nx, int ny, double db);
// Circular column of diameter D: a 24-gon, cover 24-gon at D/2 - d1, n bars on the cover ring.
SectionModel circularColumn(double D, double d1, int n, double db);
// The composite rectangle (cover line in the outline's order) without bars.
SectionModel compositeRectangle(double B, double H, double c);
// I-section with flanges W wide and F thick, depth D, web T thick, centred on the origin.
TPOLYSHAPE iSection(double W, double D, double F, double T);
// Cross of an upright I-section and one lying on its side (both W x D, F, T).
TPOLYSHAPE crossSection(double W, double D, double F, double T);
// Axis-parallel rectangle with mid-side corners, W along x and D along y, centred at (x, y).
TPOLYSHAPE rectangle(double W, double D, double x = 0, double y = 0);

// Adds a steel polygon or an opening and recomputes centroids and zone.
void addSteel(SectionModel& m, const TPOLYSHAPE& p);
void addOpening(SectionModel& m, const TPOLYSHAPE& p);

}  // namespace qav::testing
