#pragma once
// Mesh nodes in four families - a grid over the section's zone, points dividing the concrete
// lines (outline, openings, cover line), points dividing the steel polygons' sides, and every
// corner as a key node - then the choice of the grid nodes to keep and the merge of all kept
// nodes into the one set the triangulator gets. Each operation works on the model's tables;
// the mesh size is MESH_SIZE (h).
//
// Grid nodes are kept inside the concrete outline; a section without one keeps none, unless
// the model's STEEL_GRID asks for those inside its steel polygons.
// Two distances decide: a grid node within 0.8 h of a boundary or key node is dropped, and
// nodes within 1e-4 mm of each other in both x and y are one node (the first one kept wins).
// Both searches go through square cells, so the cost grows with the number of nodes, not with
// its square, and the outcome is the same as comparing every pair.
#include <vector>

#include "model/section_model.h"

namespace qav {

// Appends the interior nodes of the side from S to E: Round(L / h) parts (at least one), the
// nodes in order from S.
void divideSide(const TPOS& S, const TPOS& E, double h, std::vector<TNODE>& out);

void GEN_MESH_GRID_NODE(SectionModel& m);
void GEN_MESH_CONC_LINE_NODE(SectionModel& m);
void GEN_MESH_STEEL_LINE_NODE(SectionModel& m);
void GEN_MESH_KEY_NODE(SectionModel& m);
void CHECK_MESH_POINT(SectionModel& m);
void GEN_MEHS_MASS_NODE(SectionModel& m);

}  // namespace qav
