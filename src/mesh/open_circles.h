#pragma once
// The triangulator's open triangles filed by where their circumcircles lie, so that a new
// point looks only at the few whose circle may hold it instead of at every open triangle.
//
// The points arrive sorted by x. The points are cut into vertical slabs and rows of about
// equal counts (not equal widths, so one far-out point cannot crowd the rest into one cell); a
// triangle is filed in the rows that its circle crosses between the first and the last point of the
// current slab, with a margin, so the candidates for a point are a superset of the triangles whose
// circle holds it and the caller's exact test decides. A circle that ends left of the current slab
// can take no more points and is dropped; one that starts right of it waits until the sweep
// gets there.
#include <queue>
#include <vector>

#include "mesh/circumcircle.h"

namespace qav {

// A triangle of the sweep by a stable id (its slot changes as triangles come and go).
struct SweepTriangle {
    int vv0 = 0, vv1 = 0, vv2 = 0;
    int slot = 0;
    int born = 0;  // the point whose insertion made it
    bool alive = true;
    bool flat = false;        // corners on one level: no circle, never takes a point
    unsigned generation = 0;  // the id is reused once the triangle dies; filings of the dead
                              // one no longer match
    Circle circle;
};

class OpenCircles {
public:
    // The x of the points to come, ascending, and their y in any order.
    OpenCircles(const std::vector<double>& xs, std::vector<double> ys);

    // Makes the slab holding x current; x never decreases from call to call.
    void advanceTo(double x, const std::vector<SweepTriangle>& pool);
    // Files a new triangle (flat and dead ones are ignored).
    void add(int id, const std::vector<SweepTriangle>& pool);
    // A filed triangle with its circle widened by the margin, kept in the row itself so that
    // the quick rejection reads no triangle.
    struct Entry {
        double xc, yc, reach;
        int id;
        unsigned generation;
    };
    // The triangles whose circle may hold a point at height y of the current slab. Some may
    // have died since they were filed (their generation no longer matches).
    const std::vector<Entry>& near(double y) const {
        return rows_[static_cast<std::size_t>(rowOf(y))];
    }
    // The triangles whose circle crosses many rows of the current slab (thin triangles along a
    // long edge have huge circles): kept once here instead of in every row, they are candidates
    // for every point of the slab.
    const std::vector<Entry>& wide() const { return wide_; }

private:
    int slabOf(double x) const;
    int rowOf(double y) const;
    void file(int id, unsigned generation, const SweepTriangle& t);

    double ymin_ = 0, ymax_ = 0;
    std::vector<double> slabStart_, rowStart_;  // lowest x of each slab, lowest y of each row
    std::vector<double> firstX_, lastX_;        // per slab: x of its first and last point
    int slabs_ = 1, rowCount_ = 1;
    double margin_ = 0;
    int slab_ = -1;
    double lo_ = 0, hi_ = 0;  // x range of the current slab, margin included
    std::vector<std::vector<Entry>> rows_;
    std::vector<Entry> wide_;
    struct Filed {
        int id;
        unsigned generation;
    };
    std::vector<Filed> current_;  // triangles whose circle reaches the current slab
    struct Waiting {
        double left;  // left end of the circle
        Filed what;
        bool operator>(const Waiting& o) const { return left > o.left; }
    };
    std::priority_queue<Waiting, std::vector<Waiting>, std::greater<Waiting>> waiting_;
};

}  // namespace qav
