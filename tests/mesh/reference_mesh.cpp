#include "reference_mesh.h"

#include <array>
#include <cmath>
#include <vector>

#include "mesh/geometer.h"
#include "mesh/mesh_fibres.h"
#include "model/number_text.h"
#include "model/section_properties.h"

namespace qav::reference {

namespace {
std::size_t at(int k) {
    return static_cast<std::size_t>(k);
}

// ---- nodes ----------------------------------------------------------------------------------

void divide(const TPOS& S, const TPOS& E, double h, std::vector<TNODE>& out) {
    const double L = std::sqrt((E.X - S.X) * (E.X - S.X) + (E.Y - S.Y) * (E.Y - S.Y));
    int n = Round(L / h);
    if (n < 2) n = 1;
    for (int k = 1; k <= n - 1; ++k)
        out.push_back(
            {S.X + (E.X - S.X) * (k * (L / n)) / L, S.Y + (E.Y - S.Y) * (k * (L / n)) / L, true});
}

void divideAll(const std::vector<TPOS>& pt, int n, bool closeFromFirst, double h,
               std::vector<TNODE>& out) {
    if (n <= 0) return;
    for (int k = 0; k <= n - 2; ++k) divide(pt[at(k)], pt[at(k + 1)], h, out);
    if (closeFromFirst)
        divide(pt[0], pt[at(n - 1)], h, out);
    else
        divide(pt[at(n - 1)], pt[0], h, out);
}

void store(const std::vector<TNODE>& nodes, std::vector<TNODE>& table, int32_t& count) {
    count = static_cast<int32_t>(nodes.size());
    table.assign(nodes.size() + 1, TNODE{});
    for (std::size_t i = 0; i < nodes.size(); ++i) table[i + 1] = nodes[i];
}

bool insidePolygon(const std::vector<TPOS>& pt, int n, double x, double y) {
    std::vector<Geometer::TGPointF> poly;
    for (int k = 0; k < n; ++k) poly.push_back({pt[at(k)].X, pt[at(k)].Y});
    return Geometer::PointInPolygon(poly.data(), n, {x, y}) == 0;
}

void nodes(SectionModel& m) {
    const double h = m.mesh.MESH_SIZE;
    std::vector<TNODE> grid, cline, sline, key;
    const int nx = Round((m.document.ZONE_XMAX - m.document.ZONE_XMIN) / h) + 1;
    const int ny = Round((m.document.ZONE_YMAX - m.document.ZONE_YMIN) / h) + 1;
    const double sx = (m.document.ZONE_XMAX - m.document.ZONE_XMIN) / nx,
                 sy = (m.document.ZONE_YMAX - m.document.ZONE_YMIN) / ny;
    for (int i = 0; i <= nx; ++i)
        for (int o = 0; o <= ny; ++o)
            grid.push_back({m.document.ZONE_XMIN + i * sx, m.document.ZONE_YMIN + o * sy, true});
    if (m.document.NCONC_PT > 0) {
        divideAll(m.document.CONC_PT, m.document.NCONC_PT, true, h, cline);
        for (int j = 1; j <= m.document.NOPEN_SEC; ++j)
            divideAll(m.document.OPEN_SEC[at(j)].PT, m.document.OPEN_SEC[at(j)].NPOINT, true, h,
                      cline);
        if (m.document.NCOVER_PT > 0)
            divideAll(m.document.COVER_PT, m.document.NCOVER_PT, false, h, cline);
    }
    for (int j = 1; j <= m.document.NSTEEL_SEC; ++j)
        divideAll(m.document.STEEL_SEC[at(j)].PT, m.document.STEEL_SEC[at(j)].NPOINT, true, h,
                  sline);
    for (int k = 0; k < m.document.NCONC_PT; ++k)
        key.push_back({m.document.CONC_PT[at(k)].X, m.document.CONC_PT[at(k)].Y, true});
    for (int k = 0; k < m.document.NCOVER_PT; ++k)
        key.push_back({m.document.COVER_PT[at(k)].X, m.document.COVER_PT[at(k)].Y, true});
    for (int j = 1; j <= m.document.NSTEEL_SEC; ++j)
        for (int k = 0; k < m.document.STEEL_SEC[at(j)].NPOINT; ++k)
            key.push_back({m.document.STEEL_SEC[at(j)].PT[at(k)].X,
                           m.document.STEEL_SEC[at(j)].PT[at(k)].Y, true});
    for (int j = 1; j <= m.document.NOPEN_SEC; ++j)
        for (int k = 0; k < m.document.OPEN_SEC[at(j)].NPOINT; ++k)
            key.push_back({m.document.OPEN_SEC[at(j)].PT[at(k)].X,
                           m.document.OPEN_SEC[at(j)].PT[at(k)].Y, true});

    for (TNODE& g : grid)
        g.USED = m.document.NCONC_PT > 0 &&
                 insidePolygon(m.document.CONC_PT, m.document.NCONC_PT, g.PX, g.PY);
    for (const auto* family : {&key, &cline, &sline})
        for (const TNODE& b : *family)
            for (TNODE& g : grid)
                if (0.8 * h >=
                    std::sqrt((g.PX - b.PX) * (g.PX - b.PX) + (g.PY - b.PY) * (g.PY - b.PY)))
                    g.USED = false;

    std::vector<TNODE> kept;
    for (const auto* family : {&grid, &cline, &sline, &key})
        for (const TNODE& n : *family) {
            if (!n.USED) continue;
            bool same = false;
            for (const TNODE& k : kept)
                same = same || (std::fabs(n.PX - k.PX) < 1e-4 && std::fabs(n.PY - k.PY) < 1e-4);
            if (!same) kept.push_back(n);
        }
    store(grid, m.mesh.GRID_NODE, m.mesh.NGRID_NODE);
    store(cline, m.mesh.CLINE_NODE, m.mesh.NCLINE_NODE);
    store(sline, m.mesh.SLINE_NODE, m.mesh.NSLINE_NODE);
    store(key, m.mesh.KEY_NODE, m.mesh.NKEY_NODE);
    store(kept, m.mesh.MESH_NODE, m.mesh.NMESH_NODE);
}

// ---- triangles --------------------------------------------------------------------------------

struct Vert {
    double x, y;
};
struct Tri {
    int v0, v1, v2;
    int pre;
    double xc, yc, r;
};

void quickSort(std::vector<Vert>& A, int lo, int hi) {
    const double p = A[at((lo + hi) / 2)].x;
    int i = lo, j = hi;
    do {
        while (A[at(i)].x < p) ++i;
        while (p < A[at(j)].x) --j;
        if (i <= j) std::swap(A[at(i++)], A[at(j--)]);
    } while (i <= j);
    if (lo < j) quickSort(A, lo, j);
    if (i < hi) quickSort(A, i, hi);
}

class Triangulator {
public:
    Triangulator(Messages& messages, bool fixed) : messages_(messages), fixed_(fixed) {}

    int run(std::vector<Vert>& V, int n, std::vector<Tri>& T) {
        const std::size_t triangles = fixed_ ? 1000001 : at(6 * n + 16);
        T.assign(triangles, Tri{});
        std::vector<char> complete(triangles, 0);
        std::vector<std::array<int, 2>> edges(fixed_ ? 3000001 : 16);
        double xmin = V[1].x, xmax = xmin, ymin = V[1].y, ymax = ymin;
        for (int i = 2; i <= n; ++i) {
            xmin = std::min(xmin, V[at(i)].x);
            xmax = std::max(xmax, V[at(i)].x);
            ymin = std::min(ymin, V[at(i)].y);
            ymax = std::max(ymax, V[at(i)].y);
        }
        const double dx = xmax - xmin, dy = ymax - ymin, dmax = dx > dy ? dx : dy;
        const double xmid = std::trunc((xmax + xmin) / 2), ymid = std::trunc((ymax + ymin) / 2);
        V[at(n + 1)] = {xmid - 2 * dmax, ymid - dmax};
        V[at(n + 2)] = {xmid, ymid + 2 * dmax};
        V[at(n + 3)] = {xmid + 2 * dmax, ymid - dmax};
        T[1] = {n + 1, n + 2, n + 3, 0, 0, 0, 0};
        int ntri = 1;
        double xc = 0, yc = 0, r = 0;
        for (int i = 1; i <= n; ++i) {
            int nedge = 0;
            int j = 0;
            do {
                ++j;
                if (complete[at(j)]) continue;
                const Tri t = T[at(j)];
                const bool inside = inCircle(V[at(i)].x, V[at(i)].y, V[at(t.v0)], V[at(t.v1)],
                                             V[at(t.v2)], T[at(j)], xc, yc, r);
                if (xc + r < V[at(i)].x) {
                    complete[at(j)] = 1;
                } else if (inside) {
                    if (at(nedge + 4) > edges.size()) edges.resize(edges.size() * 2);
                    edges[at(++nedge)] = {t.v0, t.v1};
                    edges[at(++nedge)] = {t.v1, t.v2};
                    edges[at(++nedge)] = {t.v2, t.v0};
                    T[at(j)] = T[at(ntri)];
                    complete[at(j)] = complete[at(ntri)];
                    T[at(ntri)].pre = 0;
                    --j;
                    --ntri;
                }
            } while (j < ntri);
            for (int a = 1; a <= nedge - 1; ++a) {
                if (edges[at(a)][0] == 0 && edges[at(a)][1] == 0) continue;
                for (int b = a + 1; b <= nedge; ++b) {
                    if (edges[at(b)][0] == 0 && edges[at(b)][1] == 0) continue;
                    if (edges[at(a)][0] == edges[at(b)][1] && edges[at(a)][1] == edges[at(b)][0]) {
                        edges[at(a)] = {0, 0};
                        edges[at(b)] = {0, 0};
                    }
                }
            }
            for (int a = 1; a <= nedge; ++a) {
                if (edges[at(a)][0] == 0 || edges[at(a)][1] == 0) continue;
                ++ntri;
                T[at(ntri)] = {edges[at(a)][0], edges[at(a)][1], i, 0, 0, 0, 0};
                complete[at(ntri)] = 0;
            }
        }
        int i = 0;
        do {
            ++i;
            if (T[at(i)].v0 > n || T[at(i)].v1 > n || T[at(i)].v2 > n) {
                T[at(i)].v0 = T[at(ntri)].v0;
                T[at(i)].v1 = T[at(ntri)].v1;
                T[at(i)].v2 = T[at(ntri)].v2;
                --i;
                --ntri;
            }
        } while (i < ntri);
        return ntri;
    }

private:
    bool inCircle(double xp, double yp, Vert p1, Vert p2, Vert p3, Tri& t, double& xc, double& yc,
                  double& r) {
        const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y, x3 = p3.x, y3 = p3.y;
        double rsqr;
        if (t.pre == 1) {
            xc = t.xc, yc = t.yc, r = t.r;
            rsqr = r * r;
        } else {
            if (std::fabs(y1 - y2) < 1e-6 && std::fabs(y2 - y3) < 1e-6) {
                messages_.message("INCIRCUM - F - Points are coincident !!" +
                                  Format("%0.3F,%0.3F", {x1, y1}));
                return false;
            }
            if (std::fabs(y2 - y1) < 1e-6) {
                const double m2 = -(x3 - x2) / (y3 - y2), mx2 = (x2 + x3) / 2, my2 = (y2 + y3) / 2;
                xc = (x2 + x1) / 2;
                yc = m2 * (xc - mx2) + my2;
            } else if (std::fabs(y3 - y2) < 1e-6) {
                const double m1 = -(x2 - x1) / (y2 - y1), mx1 = (x1 + x2) / 2, my1 = (y1 + y2) / 2;
                xc = (x3 + x2) / 2;
                yc = m1 * (xc - mx1) + my1;
            } else {
                const double m1 = -(x2 - x1) / (y2 - y1), m2 = -(x3 - x2) / (y3 - y2);
                const double mx1 = (x1 + x2) / 2, mx2 = (x2 + x3) / 2, my1 = (y1 + y2) / 2,
                             my2 = (y2 + y3) / 2;
                if (m1 - m2 == 0) {
                    xc = (x1 + x2 + x3) / 3;
                    yc = (y1 + y2 + y3) / 3;
                } else {
                    xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
                    yc = m1 * (xc - mx1) + my1;
                }
            }
            rsqr = (x2 - xc) * (x2 - xc) + (y2 - yc) * (y2 - yc);
            r = std::sqrt(rsqr);
            t.pre = 1, t.xc = xc, t.yc = yc, t.r = r;
        }
        return (xp - xc) * (xp - xc) + (yp - yc) * (yp - yc) <= rsqr;
    }

    Messages& messages_;
    bool fixed_;
};

void triangles(SectionModel& m, Messages& messages, bool fixed) {
    const int n = m.mesh.NMESH_NODE;
    std::vector<Vert> V(fixed ? 500001 : at(n + 4), Vert{0, 0});
    for (int i = 1; i <= n; ++i)
        V[at(i)] = {m.mesh.MESH_NODE[at(i)].PX, m.mesh.MESH_NODE[at(i)].PY};
    if (n > 1) quickSort(V, 1, n);
    std::vector<Tri> T;
    const int count = n >= 3 ? Triangulator(messages, fixed).run(V, n, T) : 0;
    m.mesh.NSHELL = count;
    m.mesh.SHELL.assign(at(count + 1), TSHELL{});
    for (int j = 1; j <= count; ++j) {
        TSHELL& s = m.mesh.SHELL[at(j)];
        const Vert a = V[at(T[at(j)].v0)], b = V[at(T[at(j)].v1)], c = V[at(T[at(j)].v2)];
        s.AX = a.x, s.AY = a.y, s.BX = b.x, s.BY = b.y, s.CX = c.x, s.CY = c.y;
        s.OX = (a.x + b.x + c.x) / 3;
        s.OY = (a.y + b.y + c.y) / 3;
    }
    splitAtSectionSides(m);  // the cut at polygon sides is checked on its own
    for (int j = 1; j <= m.mesh.NSHELL; ++j) {
        TSHELL& s = m.mesh.SHELL[at(j)];
        s.AREA = std::fabs(s.AX * s.BY - s.BX * s.AY + s.BX * s.CY - s.CX * s.BY + s.CX * s.AY -
                           s.AX * s.CY) *
                 0.5;
    }
}

void kinds(SectionModel& m) {
    auto mark = [&](const std::vector<TPOS>& pt, int n, bool used, int mat, int kind) {
        for (int j = 1; j <= m.mesh.NSHELL; ++j) {
            TSHELL& t = m.mesh.SHELL[at(j)];
            if (insidePolygon(pt, n, t.OX, t.OY)) t.USED = used, t.MAT = mat, t.MATTY = kind;
        }
    };
    if (m.document.NCOVER_PT > 0) {
        mark(m.document.CONC_PT, m.document.NCONC_PT, true, m.document.USE_COVER + 1, 4);
        mark(m.document.COVER_PT, m.document.NCOVER_PT, true, m.document.USE_CONC + 1, 1);
    } else {
        mark(m.document.CONC_PT, m.document.NCONC_PT, true, m.document.USE_CONC + 1, 1);
    }
    for (int k = 1; k <= m.document.NSTEEL_SEC; ++k)
        mark(m.document.STEEL_SEC[at(k)].PT, m.document.STEEL_SEC[at(k)].NPOINT, true,
             m.document.USE_STEEL + 1, 2);
    for (int k = 1; k <= m.document.NOPEN_SEC; ++k)
        mark(m.document.OPEN_SEC[at(k)].PT, m.document.OPEN_SEC[at(k)].NPOINT, false, 0, 0);
}
}  // namespace

std::vector<Corners> triangulate(const std::vector<std::array<double, 2>>& points,
                                 Messages& messages) {
    SectionModel m;
    m.mesh.NMESH_NODE = static_cast<int32_t>(points.size());
    m.mesh.MESH_NODE.assign(points.size() + 1, TNODE{});
    for (std::size_t i = 0; i < points.size(); ++i)
        m.mesh.MESH_NODE[i + 1] = {points[i][0], points[i][1], true};
    triangles(m, messages, false);
    std::vector<Corners> out;
    for (int j = 1; j <= m.mesh.NSHELL; ++j) {
        const TSHELL& s = m.mesh.SHELL[at(j)];
        out.push_back({s.AX, s.AY, s.BX, s.BY, s.CX, s.CY});
    }
    return out;
}

void meshSection(SectionModel& m, Messages& messages, Options options) {
    CLEAR_MESH(m);
    m.mesh.MESH_SIZE = m.settings.MESH_SIZE_INPUT = ToFloat(m.document.MESH_SIZE_TEXT);
    CALC_POLY_ZONE(m);
    nodes(m);
    triangles(m, messages, options.fixedStores);
    kinds(m);
    GEN_USER_DEFINE_SECTION(m);
    GEN_FIB_MAT(m);
    CALC_AREA_RATIO(m);
}

}  // namespace qav::reference
