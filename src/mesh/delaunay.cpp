#include "mesh/delaunay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "mesh/circumcircle.h"
#include "mesh/geometer.h"
#include "mesh/open_circles.h"
#include "model/number_text.h"

namespace qav {

namespace {
constexpr double EPSILON = 1e-6;

std::string coincidenceMessage(double x1, double y1) {
    return "INCIRCUM - F - Points are coincident !!" + Format("%0.3F,%0.3F", {x1, y1});
}

constexpr int SMALL_CAVITY_EDGES = 96;

// i points and the super-triangle's three corners make 2 i + 1 triangles; a count of this many
// times i means the triangles overlap, which only points on one circle have been seen to cause.
constexpr int OVERLAPPED_TRIANGLES = 4;

// Messages of a run that may be thrown away, passed on once it is kept.
class HeldMessages : public Messages {
public:
    void message(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

using Edge = std::array<int, 2>;  // first vertex, second vertex; {0, 0} once cancelled

// An edge shared by two cavity triangles appears once in each direction: both go. Only a
// reversed pair cancels, and each edge cancels with the first later live reversed one. Edges
// of different vertex pairs never interact, so the pairs are grouped first and each group is
// resolved in index order, which keeps the cost near linear however large the cavity; a
// small cavity's edges are simply compared pairwise.
void cancelSharedEdges(std::vector<Edge>& edges, std::vector<std::pair<uint64_t, int>>& order) {
    const int n = static_cast<int>(edges.size());
    if (n <= SMALL_CAVITY_EDGES) {
        for (int j = 0; j < n; ++j) {
            Edge& ej = edges[static_cast<std::size_t>(j)];
            if (ej[0] == 0 && ej[1] == 0) continue;
            for (int k = j + 1; k < n; ++k) {
                Edge& ek = edges[static_cast<std::size_t>(k)];
                if (ej[0] == ek[1] && ej[1] == ek[0]) {
                    ej = {0, 0};
                    ek = {0, 0};
                    break;
                }
            }
        }
        return;
    }
    order.clear();
    for (int k = 0; k < n; ++k) {
        const Edge& e = edges[static_cast<std::size_t>(k)];
        const uint64_t lo = static_cast<uint32_t>(std::min(e[0], e[1])),
                       hi = static_cast<uint32_t>(std::max(e[0], e[1]));
        order.push_back({lo << 32 | hi, k});
    }
    std::sort(order.begin(), order.end());  // by vertex pair, then by index
    for (int g = 0; g < n;) {
        int h = g + 1;
        while (h < n &&
               order[static_cast<std::size_t>(h)].first == order[static_cast<std::size_t>(g)].first)
            ++h;
        for (int a = g; a < h; ++a) {
            Edge& ej = edges[static_cast<std::size_t>(order[static_cast<std::size_t>(a)].second)];
            if (ej[0] == 0 && ej[1] == 0) continue;
            for (int b = a + 1; b < h; ++b) {
                Edge& ek =
                    edges[static_cast<std::size_t>(order[static_cast<std::size_t>(b)].second)];
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
    if (Vertex.size() <= static_cast<std::size_t>(tPoints))
        Vertex.resize(static_cast<std::size_t>(tPoints) + 1);
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
        Circle c;
        if (!circumcircle(x1, y1, x2, y2, x3, y3, c)) {
            messages_.message(coincidenceMessage(x1, y1));
            return false;
        }
        xc = c.xc;
        yc = c.yc;
        r = c.r;
        rsqr = c.rsqr;
        t.PreCalc = 1;
        t.xc = xc;
        t.yc = yc;
        t.r = r;
    }
    const double dx = xp - xc, dy = yp - yc;
    return dx * dx + dy * dy <= rsqr;
}

namespace {

// The incremental insertion over points 1..n (sorted by x) and the three super-triangle corners
// n+1..n+3. Triangles live in a pool by a stable id; slotId says which triangle each slot holds,
// in the order a scan of the slots would meet them.
class Sweep {
public:
    // starShaped: keep every cavity a star around its point (keepCavityAStar).
    Sweep(const std::vector<dVertex>& vertex, int n, Messages& messages, bool starShaped)
        : vertex_(vertex),
          open_(xsOf(vertex, n), ysOf(vertex, n)),
          messages_(messages),
          starShaped_(starShaped) {
        pool_.reserve(static_cast<std::size_t>(2 * n + 8));
        slotId_.assign(static_cast<std::size_t>(2 * n + 8), 0);
        open_.advanceTo(V(1).x, pool_);
        create(n + 1, n + 2, n + 3, 0, 1);
        ntri_ = 1;
    }

    // Point i: the triangles whose circle holds it go, and their outline, joined to the point,
    // gives the new ones.
    // False, when the triangles have overlapped (see OVERLAPPED_TRIANGLES), instead of going on.
    bool insert(int i) {
        reportFlatTriangles();
        findCavity(i);
        if (starShaped_) keepCavityAStar(i);
        removeCavity();
        cancelSharedEdges(edges_, order_);
        for (const Edge& e : edges_) {
            if (e[0] == 0 || e[1] == 0) continue;
            ++ntri_;
            create(e[0], e[1], i, i, ntri_);
        }
        return starShaped_ || ntri_ <= OVERLAPPED_TRIANGLES * i + 16;
    }

    // The triangles by slot into Triangle 1..count, each with its circle when it has one.
    int collect(std::vector<dTriangle>& Triangle) const {
        Triangle.assign(static_cast<std::size_t>(ntri_) + 1, dTriangle{});
        for (int s = 1; s <= ntri_; ++s) {
            const SweepTriangle& t =
                pool_[static_cast<std::size_t>(slotId_[static_cast<std::size_t>(s)])];
            dTriangle& out = Triangle[static_cast<std::size_t>(s)];
            out.vv0 = t.vv0;
            out.vv1 = t.vv1;
            out.vv2 = t.vv2;
            if (!t.flat) out = {t.vv0, t.vv1, t.vv2, 1, t.circle.xc, t.circle.yc, t.circle.r};
        }
        return ntri_;
    }

private:
    static std::vector<double> xsOf(const std::vector<dVertex>& vertex, int n) {
        std::vector<double> xs(static_cast<std::size_t>(n));
        for (int i = 1; i <= n; ++i)
            xs[static_cast<std::size_t>(i - 1)] = vertex[static_cast<std::size_t>(i)].x;
        return xs;
    }
    static std::vector<double> ysOf(const std::vector<dVertex>& vertex, int n) {
        std::vector<double> ys(static_cast<std::size_t>(n));
        for (int i = 1; i <= n; ++i)
            ys[static_cast<std::size_t>(i - 1)] = vertex[static_cast<std::size_t>(i)].y;
        return ys;
    }
    const dVertex& V(int k) const { return vertex_[static_cast<std::size_t>(k)]; }
    SweepTriangle& inSlot(int s) {
        return pool_[static_cast<std::size_t>(slotId_[static_cast<std::size_t>(s)])];
    }

    void create(int a, int b, int c, int born, int slot) {
        SweepTriangle t;
        t.vv0 = a, t.vv1 = b, t.vv2 = c;
        t.slot = slot;
        t.born = born;
        t.flat = !circumcircle(V(a).x, V(a).y, V(b).x, V(b).y, V(c).x, V(c).y, t.circle);
        int id;
        if (freeIds_.empty()) {
            id = static_cast<int>(pool_.size());
            pool_.push_back(t);
        } else {
            id = freeIds_.back();
            freeIds_.pop_back();
            t.generation = pool_[static_cast<std::size_t>(id)].generation + 1;
            pool_[static_cast<std::size_t>(id)] = t;
        }
        if (slotId_.size() <= static_cast<std::size_t>(slot)) slotId_.resize(slotId_.size() * 2);
        slotId_[static_cast<std::size_t>(slot)] = id;
        if (t.flat)
            flatNew_.push_back(id);
        else
            open_.add(id, pool_);
    }

    // A flat triangle has no circle: its first test, at the point after its birth, reports it,
    // and it never takes a point.
    void reportFlatTriangles() {
        for (int id : flatNew_) {
            const dVertex& a = V(pool_[static_cast<std::size_t>(id)].vv0);
            messages_.message(coincidenceMessage(a.x, a.y));
        }
        flatNew_.clear();
    }

    // The cavity of point i: every triangle whose circle holds the point and does not end left
    // of it, by slot, lowest last. A circle is tested with its radius squared as computed the
    // first time (the point right after the triangle's birth) and with the rounded radius
    // squared later.
    void findCavity(int i) {
        const double xp = V(i).x, yp = V(i).y;
        open_.advanceTo(xp, pool_);
        cavity_.clear();
        auto test = [&](const OpenCircles::Entry& e) {
            const double qx = xp - e.xc, qy = yp - e.yc;
            if (qx * qx + qy * qy > e.reach * e.reach) return;
            const SweepTriangle& t = pool_[static_cast<std::size_t>(e.id)];
            if (!t.alive || t.generation != e.generation) return;
            const Circle& c = t.circle;
            if (c.xc + c.r < xp) return;
            const double ex = xp - c.xc, ey = yp - c.yc;
            const double limit = i == t.born + 1 ? c.rsqr : c.r * c.r;
            if (ex * ex + ey * ey <= limit) cavity_.push_back(t.slot);
        };
        for (const OpenCircles::Entry& e : open_.near(yp)) test(e);
        for (const OpenCircles::Entry& e : open_.wide()) test(e);
        std::sort(cavity_.begin(), cavity_.end(), std::greater<int>());
    }

    // Points on one circle (a many-cornered round outline) sit on the rounded circles of many
    // triangles at once, and the circle test alone may then take triangles the point cannot
    // see: their new triangles overlap, and their count grows with the square of the points.
    // Here a cavity triangle with an outer side that faces away from the point (the point
    // strictly beyond it, exactly decided) stays, until every outer side faces the point.
    void keepCavityAStar(int i) {
        const Geometer::TGPointF p{V(i).x, V(i).y};
        auto point = [&](int k) { return Geometer::TGPointF{V(k).x, V(k).y}; };
        auto key = [](int a, int b) {
            return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
        };
        for (bool dropped = true; dropped && cavity_.size() > 1;) {
            dropped = false;
            sides_.clear();
            for (int slot : cavity_) {
                const SweepTriangle& t = inSlot(slot);
                sides_.push_back(key(t.vv0, t.vv1));
                sides_.push_back(key(t.vv1, t.vv2));
                sides_.push_back(key(t.vv2, t.vv0));
            }
            std::sort(sides_.begin(), sides_.end());
            auto facesAway = [&](int a, int b) {
                if (std::binary_search(sides_.begin(), sides_.end(), key(b, a)))
                    return false;  // inner side
                // The triangles turn clockwise: the point lies on the right of a side it sees.
                return Geometer::Orientation(point(b), p, point(a)) > 0;
            };
            const auto kept = std::remove_if(cavity_.begin(), cavity_.end(), [&](int slot) {
                const SweepTriangle& t = inSlot(slot);
                return facesAway(t.vv0, t.vv1) || facesAway(t.vv1, t.vv2) ||
                       facesAway(t.vv2, t.vv0);
            });
            dropped = kept != cavity_.end();
            cavity_.erase(kept, cavity_.end());
        }
    }

    // Removes the cavity as a scan over the slots meets it: the lowest slot first; the last
    // triangle fills each hole and is met there next. Their edges are kept. The slots still to
    // go are cavity_[head..], highest first; the front is passed over, not erased, so a cavity
    // of nearly every triangle (points on one circle) costs its size, not its square.
    void removeCavity() {
        edges_.clear();
        std::size_t head = 0;
        while (cavity_.size() > head) {
            const int s = cavity_.back();
            cavity_.pop_back();
            SweepTriangle& t = inSlot(s);
            edges_.push_back({t.vv0, t.vv1});
            edges_.push_back({t.vv1, t.vv2});
            edges_.push_back({t.vv2, t.vv0});
            t.alive = false;
            freeIds_.push_back(slotId_[static_cast<std::size_t>(s)]);
            if (s != ntri_) {
                const int moved = slotId_[static_cast<std::size_t>(ntri_)];
                slotId_[static_cast<std::size_t>(s)] = moved;
                pool_[static_cast<std::size_t>(moved)].slot = s;
                // The last slot is the highest: if it is in the cavity it is at the front.
                if (cavity_.size() > head && cavity_[head] == ntri_) {
                    ++head;
                    cavity_.push_back(s);
                }
            }
            --ntri_;
        }
        cavity_.clear();
    }

    const std::vector<dVertex>& vertex_;
    std::vector<SweepTriangle> pool_;
    std::vector<int> slotId_;
    OpenCircles open_;
    Messages& messages_;
    int ntri_ = 0;
    std::vector<int> flatNew_;  // flat triangles of the last insertion
    std::vector<int> freeIds_;  // ids of dead triangles, for reuse
    bool starShaped_;
    std::vector<int> cavity_;      // slots, highest first
    std::vector<uint64_t> sides_;  // the cavity's sides, first and second vertex
    std::vector<Edge> edges_;
    std::vector<std::pair<uint64_t, int>> order_;
};

// Drops the triangles that use a super-triangle corner (a vertex above n); the last one fills
// each hole. Returns the count left.
int dropSuperTriangles(std::vector<dTriangle>& Triangle, int ntri, int n) {
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

}  // namespace

void TDelaunay::addSuperTriangle(int n, double& ymin, double& ymax) {
    if (Vertex.size() < static_cast<std::size_t>(n) + 4)
        Vertex.resize(static_cast<std::size_t>(n) + 4);
    auto V = [&](int k) -> const dVertex& { return Vertex[static_cast<std::size_t>(k)]; };
    double xmin = V(1).x, xmax = V(1).x;
    ymin = V(1).y;
    ymax = V(1).y;
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
}

int TDelaunay::Triangulate(int n) {
    if (n < 1) return 0;
    double ymin = 0, ymax = 0;
    addSuperTriangle(n, ymin, ymax);
    StepProgress steps(progress_, n);
    // The plain insertion first; should its triangles overlap, again with star-shaped cavities
    // (a mesh no ordinary section gets, so theirs stay as they were).
    {
        HeldMessages held;
        Sweep sweep(Vertex, n, held, false);
        int i = 1;
        for (; i <= n && sweep.insert(i); ++i) steps.step();
        if (i > n) {
            for (const std::string& t : held.texts) messages_.message(t);
            return dropSuperTriangles(Triangle, sweep.collect(Triangle), n);
        }
    }
    Sweep sweep(Vertex, n, messages_, true);
    for (int i = 1; i <= n; ++i) {
        sweep.insert(i);
        steps.step();
    }
    return dropSuperTriangles(Triangle, sweep.collect(Triangle), n);
}

}  // namespace qav
