#pragma once
// What the mesh command refuses before it meshes, and what it warns of after.
//
// A polygon of the section is refused when it has no area (fewer than three corners, or all of
// them on one line) or when it crosses itself (two sides cross at a point inside both, or the
// boundary passes through a corner lying inside another side). Touching is allowed: repeated
// corners, sides running along each other (a tube's cut, a retraced arc), corners meeting.
// The mesher reads polygons even-odd and keeps whole triangles by their centroid, so such
// polygons would be meshed into area that is not there.
//
// The cover line must stay within the concrete outline. It may touch it: a corner on the
// outline, a side along an outline side. A corner or a side's middle further than
// TOUCH_DISTANCE outside the outline, or a side crossing an outline side other than within
// that distance of its own ends, leaves it.
//
// Corners and sides are numbered as the section file numbers them: corner 0 first, side k from
// corner k to corner k + 1, the last side closing back to corner 0.
#include <string>

#include "model/section_model.h"

namespace qav {

// Nodes closer than this are one node to the mesher (mm): a corner this close to the outline
// lies on it.
constexpr double TOUCH_DISTANCE = 1e-4;

// Throws InputError naming the polygon and the sides or corner, e.g. "The concrete outline
// crosses itself between sides 2 and 4.", "Opening 1 has no area.", "The cover line leaves the
// concrete outline at corner 3 (450.000, 0.000)." Checks the outline, the cover line, the steel
// polygons and the openings in that order; corners must be finite.
void requireMeshablePolygons(const SectionModel& m);

// One text about the bars of a section with an outline whose centre lies outside the outline,
// inside an opening, or whose diameter exceeds the outline's width or height, e.g. "Bars 3, 7
// and 12 lie outside the concrete outline."; empty when there is nothing to say (always for a
// section without an outline).
std::string barPlacementWarning(const SectionModel& m);

}  // namespace qav
