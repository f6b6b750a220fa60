#include "mesh/mesh_nodes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "mesh/inside_test.h"
#include "mesh/point_buckets.h"
#include "model/number_text.h"
#include "model/section_state.h"
#include "model/tables.h"

namespace qav {

namespace {
constexpr double DROP_FACTOR = 0.8;  // grid nodes this close (times h) to a boundary node go
constexpr double SAME_NODE = 1e-4;   // nodes this close in x and in y are one node
constexpr double MERGE_CELL = 1e-3;  // cell of the merge search, larger than SAME_NODE

const TPOS& at(const std::vector<TPOS>& pt, int k) {
    return pt[static_cast<std::size_t>(k)];
}

// Sides k -> k+1, then the closing side: from corner 0 to corner n-1 when closingFromFirst,
// else from corner n-1 to corner 0.
void divideOutline(const std::vector<TPOS>& pt, int npoint, bool closingFromFirst, double h,
                   std::vector<TNODE>& out) {
    const int n = polygonCorners(pt, npoint);
    if (n <= 0) return;
    for (int k = 0; k + 1 < n; ++k) divideSide(at(pt, k), at(pt, k + 1), h, out);
    if (closingFromFirst)
        divideSide(at(pt, 0), at(pt, n - 1), h, out);
    else
        divideSide(at(pt, n - 1), at(pt, 0), h, out);
}

void storeTable(std::vector<TNODE>& nodes, std::vector<TNODE>& table, int32_t& count) {
    count = static_cast<int32_t>(nodes.size());
    table.resize(nodes.size() + 1);
    std::copy(nodes.begin(), nodes.end(), table.begin() + 1);
}

void appendCorners(const std::vector<TPOS>& pt, int npoint, std::vector<TNODE>& out) {
    const int n = polygonCorners(pt, npoint);
    for (int k = 0; k < n; ++k) out.push_back({at(pt, k).X, at(pt, k).Y, false});
}

// Marks the grid nodes inside a steel polygon as used. The nodes are taken in order of x, so
// that each polygon tests only those within its box, however many polygons there are.
void keepInsideSteel(SectionModel& m) {
    std::vector<int> order(rows(m.mesh.GRID_NODE, m.mesh.NGRID_NODE).size());
    std::iota(order.begin(), order.end(), 1);
    auto x = [&](int i) { return m.mesh.GRID_NODE[static_cast<std::size_t>(i)].PX; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return x(a) < x(b); });
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
        if (polygonCorners(s.PT, s.NPOINT) < 3) continue;
        // The test answers "outside" above, below and right of the box without walking edges.
        const InsideTest plate(s.PT, s.NPOINT);
        auto k = std::lower_bound(order.begin(), order.end(), plate.xmin(),
                                  [&](int i, double v) { return x(i) < v; });
        for (; k != order.end() && x(*k) <= plate.xmax(); ++k) {
            TNODE& g = m.mesh.GRID_NODE[static_cast<std::size_t>(*k)];
            if (!g.USED) g.USED = plate.inside(g.PX, g.PY);
        }
    }
}

template <class F>
void forEachNode(std::vector<TNODE>& table, int32_t count, F&& f) {
    for (TNODE& node : rows(table, count)) f(node);
}
}  // namespace

void divideSide(const TPOS& S, const TPOS& E, double h, std::vector<TNODE>& out) {
    const double dx = E.X - S.X, dy = E.Y - S.Y;
    const double L = std::sqrt(dx * dx + dy * dy);
    int n = Round(L / h);
    if (n < 2) n = 1;
    for (int k = 1; k <= n - 1; ++k) {
        const double t = k * (L / n);
        out.push_back({S.X + (E.X - S.X) * t / L, S.Y + (E.Y - S.Y) * t / L, true});
    }
}

void GEN_MESH_GRID_NODE(SectionModel& m) {
    const double h = m.mesh.MESH_SIZE;
    const double w = m.document.ZONE_XMAX - m.document.ZONE_XMIN,
                 d = m.document.ZONE_YMAX - m.document.ZONE_YMIN;
    const int nx = Round(w / h) + 1, ny = Round(d / h) + 1;
    const double sx = w / nx, sy = d / ny;
    std::vector<TNODE> nodes;
    nodes.reserve(static_cast<std::size_t>(nx + 1) * static_cast<std::size_t>(ny + 1));
    for (int i = 0; i <= nx; ++i)
        for (int o = 0; o <= ny; ++o)
            nodes.push_back({m.document.ZONE_XMIN + i * sx, m.document.ZONE_YMIN + o * sy, true});
    storeTable(nodes, m.mesh.GRID_NODE, m.mesh.NGRID_NODE);
}

void GEN_MESH_CONC_LINE_NODE(SectionModel& m) {
    const double h = m.mesh.MESH_SIZE;
    std::vector<TNODE> nodes;
    divideOutline(m.document.CONC_PT, m.document.NCONC_PT, true, h, nodes);
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        divideOutline(s.PT, s.NPOINT, true, h, nodes);
    if (m.document.NCOVER_PT > 0)
        divideOutline(m.document.COVER_PT, m.document.NCOVER_PT, false, h, nodes);
    storeTable(nodes, m.mesh.CLINE_NODE, m.mesh.NCLINE_NODE);
}

void GEN_MESH_STEEL_LINE_NODE(SectionModel& m) {
    std::vector<TNODE> nodes;
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        divideOutline(s.PT, s.NPOINT, true, m.mesh.MESH_SIZE, nodes);
    storeTable(nodes, m.mesh.SLINE_NODE, m.mesh.NSLINE_NODE);
}

void GEN_MESH_KEY_NODE(SectionModel& m) {
    std::vector<TNODE> nodes;
    appendCorners(m.document.CONC_PT, m.document.NCONC_PT, nodes);
    if (m.document.NCOVER_PT > 0) appendCorners(m.document.COVER_PT, m.document.NCOVER_PT, nodes);
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        appendCorners(s.PT, s.NPOINT, nodes);
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        appendCorners(s.PT, s.NPOINT, nodes);
    storeTable(nodes, m.mesh.KEY_NODE, m.mesh.NKEY_NODE);
}

void CHECK_MESH_POINT(SectionModel& m) {
    forEachNode(m.mesh.GRID_NODE, m.mesh.NGRID_NODE, [](TNODE& g) { g.USED = false; });
    forEachNode(m.mesh.CLINE_NODE, m.mesh.NCLINE_NODE, [](TNODE& g) { g.USED = true; });
    forEachNode(m.mesh.SLINE_NODE, m.mesh.NSLINE_NODE, [](TNODE& g) { g.USED = true; });
    forEachNode(m.mesh.KEY_NODE, m.mesh.NKEY_NODE, [](TNODE& g) { g.USED = true; });
    if (m.document.NCONC_PT > 0) {
        const InsideTest outline(m.document.CONC_PT, m.document.NCONC_PT);
        forEachNode(m.mesh.GRID_NODE, m.mesh.NGRID_NODE,
                    [&](TNODE& g) { g.USED = outline.inside(g.PX, g.PY); });
    } else if (steelGridApplies(m)) {
        // Steel alone, asked to: the grid nodes inside a steel polygon, so that a plate has
        // fibres through its thickness and not one triangle from face to face.
        keepInsideSteel(m);
    } else {
        return;  // no outline: no grid node is kept
    }

    const double reach = DROP_FACTOR * m.mesh.MESH_SIZE;
    // Grid nodes filed in cells of one mesh size: a boundary node looks at the few cells
    // around it.
    BucketBox gridBox;
    forEachNode(m.mesh.GRID_NODE, m.mesh.NGRID_NODE, [&](TNODE& g) { gridBox.add(g.PX, g.PY); });
    PointBuckets grid(std::max(m.mesh.MESH_SIZE, reach), gridBox);
    forEachNode(m.mesh.GRID_NODE, m.mesh.NGRID_NODE,
                [&, i = 1](TNODE& g) mutable { grid.insert(g.PX, g.PY, i++); });
    auto dropNear = [&](TNODE& b) {
        grid.forEachNear(b.PX, b.PY, reach, [&](int i) {
            TNODE& g = m.mesh.GRID_NODE[static_cast<std::size_t>(i)];
            const double dx = g.PX - b.PX, dy = g.PY - b.PY;
            if (reach >= std::sqrt(dx * dx + dy * dy)) g.USED = false;
            return true;
        });
    };
    forEachNode(m.mesh.KEY_NODE, m.mesh.NKEY_NODE, dropNear);
    forEachNode(m.mesh.CLINE_NODE, m.mesh.NCLINE_NODE, dropNear);
    forEachNode(m.mesh.SLINE_NODE, m.mesh.NSLINE_NODE, dropNear);
}

void GEN_MEHS_MASS_NODE(SectionModel& m) {
    std::vector<TNODE> kept;
    BucketBox box;
    auto span = [&](TNODE& n) {
        if (n.USED) box.add(n.PX, n.PY);
    };
    forEachNode(m.mesh.GRID_NODE, m.mesh.NGRID_NODE, span);
    forEachNode(m.mesh.CLINE_NODE, m.mesh.NCLINE_NODE, span);
    forEachNode(m.mesh.SLINE_NODE, m.mesh.NSLINE_NODE, span);
    forEachNode(m.mesh.KEY_NODE, m.mesh.NKEY_NODE, span);
    PointBuckets cells(MERGE_CELL, box);
    auto offer = [&](TNODE& n) {
        if (!n.USED) return;
        const bool taken = !cells.forEachNear(n.PX, n.PY, SAME_NODE, [&](int k) {
            const TNODE& o = kept[static_cast<std::size_t>(k)];
            return !(std::fabs(n.PX - o.PX) < SAME_NODE && std::fabs(n.PY - o.PY) < SAME_NODE);
        });
        if (taken) return;
        cells.insert(n.PX, n.PY, static_cast<int>(kept.size()));
        kept.push_back({n.PX, n.PY, true});
    };
    forEachNode(m.mesh.GRID_NODE, m.mesh.NGRID_NODE, offer);
    forEachNode(m.mesh.CLINE_NODE, m.mesh.NCLINE_NODE, offer);
    forEachNode(m.mesh.SLINE_NODE, m.mesh.NSLINE_NODE, offer);
    forEachNode(m.mesh.KEY_NODE, m.mesh.NKEY_NODE, offer);
    storeTable(kept, m.mesh.MESH_NODE, m.mesh.NMESH_NODE);
}

}  // namespace qav
