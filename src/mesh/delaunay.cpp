#include "mesh/delaunay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "mesh/slot_set.h"
#include "model/number_text.h"

namespace qav {

namespace {
constexpr double EPSILON = 1e-6;

using Edge = std::array<int, 2>;  // first vertex, second vertex; {0, 0} once cancelled

// An edge shared by two cavity triangles appears once in each direction: both go. Only a
// reversed pair cancels, and each edge cancels with the first later live reversed one. Edges
// of different vertex pairs never interact, so the pairs are grouped first and each group is
// resolved in index order, which keeps the cost near linear however large the cavity.
void cancelSharedEdges(std::vector<Edge>& edges, std::vector<int>& order) {
    const int n = static_cast<int>(edges.size());
    order.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) order[static_cast<std::size_t>(k)] = k;
    auto key = [&](int k) {
        const Edge& e = edges[static_cast<std::size_t>(k)];
        return std::array<int, 3>{std::min(e[0], e[1]), std::max(e[0], e[1]), k};
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    for (int g = 0; g < n;) {
        int h = g + 1;
        const auto kg = key(order[static_cast<std::size_t>(g)]);
        while (h < n) {
            const auto kh = key(order[static_cast<std::size_t>(h)]);
            if (kh[0] != kg[0] || kh[1] != kg[1]) break;
            ++h;
        }
        for (int a = g; a < h; ++a) {
            Edge& ej = edges[static_cast<std::size_t>(order[static_cast<std::size_t>(a)])];
            if (ej[0] == 0 && ej[1] == 0) continue;
            for (int b = a + 1; b < h; ++b) {
                Edge& ek = edges[static_cast<std::size_t>(order[static_cast<std::size_t>(b)])];
                if (ek[0] == 0 && ek[1] == 0) continue;
                if (ej[0] == ek[1] && ej[1] == ek[0]) {
                    ej = {0, 0};
                    ek = {0, 0};
                    break;
                }
            }
        }
        g = h;
    }
}
}  // namespace

TDelaunay::TDelaunay(Messages& messages) : messages_(messages) {
    Vertex.resize(1);
    Triangle.resize(1);
}

void TDelaunay::AddPoint(int x, int y) {
    for (int i = 1; i < tPoints; ++i) {
        const dVertex& v = Vertex[static_cast<std::size_t>(i)];
        if (std::fabs(x - v.x) < EPSILON && std::fabs(y - v.y) < EPSILON) return;
    }
    if (Vertex.size() <= static_cast<std::size_t>(tPoints)) Vertex.resize(static_cast<std::size_t>(tPoints) + 1);
    Vertex[static_cast<std::size_t>(tPoints)] = {static_cast<double>(x), static_cast<double>(y)};
    ++tPoints;
}

void TDelaunay::setPoints(const std::vector<dVertex>& points) {
    Vertex.assign(points.size() + 1, dVertex{});
    std::copy(points.begin(), points.end(), Vertex.begin() + 1);
    tPoints = static_cast<int>(points.size()) + 1;
}

void TDelaunay::Mesh() {
    if (tPoints - 1 > 1) QuickSort(Vertex, 1, tPoints - 1);
    if (tPoints > 3) HowMany = Triangulate(tPoints - 1);
}

void TDelaunay::QuickSort(std::vector<dVertex>& A, int Low, int High) {
    // Recurse into the smaller part and loop on the larger: the parts are disjoint, so the
    // order of work changes nothing, and the stack stays shallow on any input.
    while (Low < High) {
        const double p = A[static_cast<std::size_t>((Low + High) / 2)].x;
        int i = Low, j = High;
        do {
            while (A[static_cast<std::size_t>(i)].x < p) ++i;
            while (p < A[static_cast<std::size_t>(j)].x) --j;
            if (i <= j) {
                std::swap(A[static_cast<std::size_t>(i)], A[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Low < High - i) {
            if (Low < j) QuickSort(A, Low, j);
            Low = i;
        } else {
            if (i < High) QuickSort(A, i, High);
            High = j;
        }
    }
}

bool TDelaunay::InCircumcircle(double xp, double yp, double x1, double y1, double x2, double y2,
                               double x3, double y3, int j, double& xc, double& yc, double& r) {
    dTriangle& t = Triangle[static_cast<std::size_t>(j)];
    double rsqr = 0;
    if (t.PreCalc == 1) {
        xc = t.xc;
        yc = t.yc;
        r = t.r;
        rsqr = r * r;
    } else {
        if (std::fabs(y1 - y2) < EPSILON && std::fabs(y2 - y3) < EPSILON) {
            messages_.message("INCIRCUM - F - Points are coincident !!" + Format("%0.3F,%0.3F", {x1, y1}));
            return false;
        }
        if (std::fabs(y2 - y1) < EPSILON) {
            const double m2 = -(x3 - x2) / (y3 - y2);
            const double mx2 = (x2 + x3) / 2;
            const double my2 = (y2 + y3) / 2;
            xc = (x2 + x1) / 2;
            yc = m2 * (xc - mx2) + my2;
        } else if (std::fabs(y3 - y2) < EPSILON) {
            const double m1 = -(x2 - x1) / (y2 - y1);
            const double mx1 = (x1 + x2) / 2;
            const double my1 = (y1 + y2) / 2;
            xc = (x3 + x2) / 2;
            yc = m1 * (xc - mx1) + my1;
        } else {
            const double m1 = -(x2 - x1) / (y2 - y1);
            const double m2 = -(x3 - x2) / (y3 - y2);
            const double mx1 = (x1 + x2) / 2;
            const double mx2 = (x2 + x3) / 2;
            const double my1 = (y1 + y2) / 2;
            const double my2 = (y2 + y3) / 2;
            if (m1 - m2 == 0) {
                xc = (x1 + x2 + x3) / 3;
                yc = (y1 + y2 + y3) / 3;
            } else {
                xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
                yc = m1 * (xc - mx1) + my1;
            }
        }
        const double dx = x2 - xc, dy = y2 - yc;
        rsqr = dx * dx + dy * dy;
        r = std::sqrt(rsqr);
        t.PreCalc = 1;
        t.xc = xc;
        t.yc = yc;
        t.r = r;
    }
    const double dx = xp - xc, dy = yp - yc;
    const double drsqr = dx * dx + dy * dy;
    return drsqr <= rsqr;
}

int TDelaunay::Triangulate(int n) {
    if (n < 1) return 0;
    if (Vertex.size() < static_cast<std::size_t>(n) + 4) Vertex.resize(static_cast<std::size_t>(n) + 4);
    auto V = [&](int k) -> const dVertex& { return Vertex[static_cast<std::size_t>(k)]; };

    double xmin = V(1).x, xmax = V(1).x, ymin = V(1).y, ymax = V(1).y;
    for (int i = 2; i <= n; ++i) {
        if (V(i).x < xmin) xmin = V(i).x;
        if (V(i).x > xmax) xmax = V(i).x;
        if (V(i).y < ymin) ymin = V(i).y;
        if (V(i).y > ymax) ymax = V(i).y;
    }
    const double dx = xmax - xmin, dy = ymax - ymin;
    const double dmax = dx > dy ? dx : dy;
    const double xmid = std::trunc((xmax + xmin) / 2);
    const double ymid = std::trunc((ymax + ymin) / 2);
    Vertex[static_cast<std::size_t>(n) + 1] = {xmid - 2 * dmax, ymid - dmax};
    Vertex[static_cast<std::size_t>(n) + 2] = {xmid, ymid + 2 * dmax};
    Vertex[static_cast<std::size_t>(n) + 3] = {xmid + 2 * dmax, ymid - dmax};

    // About two triangles per point end up alive; the store grows if more are needed.
    Triangle.assign(static_cast<std::size_t>(2 * n + 8), dTriangle{});
    Triangle[1] = {n + 1, n + 2, n + 3, 0, 0, 0, 0};
    int ntri = 1;
    SlotSet open;  // slots of the triangles not yet complete
    open.reserve(static_cast<int>(Triangle.size()));
    open.insert(1);

    std::vector<Edge> edges;
    std::vector<int> order;
    // The circle of the last test, kept between tests: a coincident triangle's completion test
    // uses it, as the scan has always done.
    double xc = 0, yc = 0, r = 0;
    for (int i = 1; i <= n; ++i) {
        const double xp = V(i).x, yp = V(i).y;
        edges.clear();
        int j = open.next(1);
        while (j != SlotSet::NONE && j <= ntri) {
            const dTriangle& t = Triangle[static_cast<std::size_t>(j)];
            bool inside;
            if (t.PreCalc == 1) {
                // The cached circle, tested here without touching the corners' coordinates:
                // the same arithmetic as InCircumcircle's cached case.
                xc = t.xc;
                yc = t.yc;
                r = t.r;
                const double ex = xp - xc, ey = yp - yc;
                inside = ex * ex + ey * ey <= r * r;
            } else {
                inside = InCircumcircle(xp, yp, V(t.vv0).x, V(t.vv0).y, V(t.vv1).x, V(t.vv1).y, V(t.vv2).x,
                                        V(t.vv2).y, j, xc, yc, r);
            }
            if (xc + r < xp) {  // no later point can fall in this circle
                open.erase(j);
                j = open.next(j + 1);
                continue;
            }
            if (!inside) {
                j = open.next(j + 1);
                continue;
            }
            const int a = t.vv0, b = t.vv1, c = t.vv2;
            edges.push_back({a, b});
            edges.push_back({b, c});
            edges.push_back({c, a});
            // The last triangle fills the hole, with its completion state, and is looked at
            // next in this slot.
            if (j != ntri) {
                Triangle[static_cast<std::size_t>(j)] = Triangle[static_cast<std::size_t>(ntri)];
                if (open.contains(ntri)) open.erase(ntri);
                else open.erase(j);
            } else {
                open.erase(j);
            }
            Triangle[static_cast<std::size_t>(ntri)].PreCalc = 0;
            --ntri;
            j = open.next(j);
        }

        cancelSharedEdges(edges, order);
        for (const Edge& e : edges) {
            if (e[0] == 0 || e[1] == 0) continue;
            ++ntri;
            if (Triangle.size() <= static_cast<std::size_t>(ntri)) Triangle.resize(Triangle.size() * 2);
            Triangle[static_cast<std::size_t>(ntri)] = {e[0], e[1], i, 0, 0, 0, 0};
            open.insert(ntri);
        }
    }

    // Drop the triangles that use a super-triangle corner; the last one fills each hole.
    int i = 0;
    while (i < ntri) {
        ++i;
        dTriangle& t = Triangle[static_cast<std::size_t>(i)];
        if (t.vv0 > n || t.vv1 > n || t.vv2 > n) {
            const dTriangle& last = Triangle[static_cast<std::size_t>(ntri)];
            t.vv0 = last.vv0;
            t.vv1 = last.vv1;
            t.vv2 = last.vv2;
            --i;
            --ntri;
        }
    }
    return ntri;
}

}  // namespace qav
