#pragma once
// From mesh nodes to fibres: the triangles of the merged nodes, their areas, their kind and
// material from the section's polygons, the fibre table (triangles, then one fibre per bar),
// the control points, and the material values copied into every fibre.
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// Triangulates MESH_NODE into SHELL/NSHELL (corners and centroids; nothing used yet), then
// splitAtSectionSides. The triangulator's coincidence message goes to `messages`.
// `progress` (may be null) follows the triangulation; see TDelaunay::setProgress.
void GEN_MESH_TRIANGLE(SectionModel& m, Messages& messages, Progress* progress = nullptr);
// Cuts every triangle of SHELL that a side of the outline, the cover line, a steel polygon or an
// opening passes through into triangles on either side of it (SectionSides): the first piece
// takes the triangle's slot, the others follow the last triangle, so every triangle no side
// passes through keeps its record and its number. Afterwards every triangle lies wholly inside
// or outside each polygon, and its centroid tells which.
void splitAtSectionSides(SectionModel& m);
void CALC_TRI_AREA(SectionModel& m);
// Kind and material of every triangle by its centroid: cover, then core, then steel, and last
// the openings, which discard what they hold.
void CHECK_MESH_AREA(SectionModel& m);
// FIB from the used triangles and the bars, CFIB from the key nodes, relative to the section
// centre.
void GEN_USER_DEFINE_SECTION(SectionModel& m);
// Copies the material values into the fibres (FY1 of the steel grades first). Every fibre's
// MAT must name a material of its table (the mesh command checks the grades beforehand).
void GEN_FIB_MAT(SectionModel& m);

}  // namespace qav
