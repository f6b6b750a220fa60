#pragma once
// The mesh command written the plain way: every boundary node against every grid node, every
// node against every kept node, every triangle slot scanned for every point, every cavity edge
// against every other. Slow, but easy to check by eye; the fast mesher must give the same
// nodes, triangles and fibres.
#include <array>
#include <vector>

#include "model/feedback.h"
#include "model/section_model.h"

namespace qav::reference {

struct Options {
    // Allocate the classic fixed stores (500,001 points, 1,000,001 triangles, 3,000,001 cavity
    // edges) instead of stores sized to the input; used to measure the classic memory cost.
    bool fixedStores = false;
};

struct Corners {
    double ax, ay, bx, by, cx, cy;
    bool operator==(const Corners&) const = default;
};
// Triangles of the points, in result order.
std::vector<Corners> triangulate(const std::vector<std::array<double, 2>>& points,
                                 Messages& messages);

// The same steps as FIBER_SECTION_MESH, with MESH_SIZE_TEXT already known to be valid.
void meshSection(SectionModel& m, Messages& messages, Options options = {});

}  // namespace qav::reference
