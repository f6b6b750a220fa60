#pragma once
// Delaunay triangulation by incremental insertion (Bowyer-Watson): points sorted by x, a
// bounding super-triangle, circumcircles cached per triangle, and triangles whose circle lies
// wholly left of the current point set aside as complete.
//
// The stores grow with the input (no fixed capacity). A new point does not scan the triangle
// slots: the open triangles are filed by where their circles lie (OpenCircles), so it tests
// only those whose circle may hold it, with the same circle arithmetic and the same test as a
// scan would apply. Which triangles a point removes depends only on that test, and the slot
// bookkeeping is the classic one (a removed triangle's slot is filled by the last one, met
// in slot order; new triangles are appended in the order of their cavity edges), so the
// triangles come out in the same slots with the same corners as a scan of every slot would
// give them.
//
// A triangle whose corners lie on one level (within 1e-6) has no circle: it reports the
// coincidence message once, when the next point comes, and never takes a point. (A slot scan
// would report it again at every later point until the circle of whatever triangle it tested
// just before happened to end left of the point.)
#include <vector>

#include "model/feedback.h"

namespace qav {

struct dVertex {
    double x = 0;
    double y = 0;
};

struct dTriangle {
    int vv0 = 0, vv1 = 0, vv2 = 0;  // vertex slots
    int PreCalc = 0;                // 1 when xc, yc, r hold this triangle's circumcircle
    double xc = 0, yc = 0;
    double r = 0;
};

class TDelaunay {
public:
    // The coincidence message goes to `messages`; the run goes on.
    explicit TDelaunay(Messages& messages);

    std::vector<dVertex> Vertex;      // slot 0 empty; points in 1..tPoints-1
    std::vector<dTriangle> Triangle;  // slot 0 empty; result in 1..HowMany
    int HowMany = 0;
    int tPoints = 1;  // next free vertex slot

    // Triangulate reports its points done on `progress` (may be null) and throws RunCancelled
    // when it says cancelled.
    void setProgress(Progress* progress) { progress_ = progress; }
    // Adds a point unless a held one lies within 1e-6 in both coordinates. A linear search:
    // meant for small point sets; bulk callers use setPoints.
    void AddPoint(int x, int y);
    // Holds exactly `points` (in slots 1..n), as written straight into the store.
    void setPoints(const std::vector<dVertex>& points);
    // Sorts the points by x, then triangulates them when there are at least three. Vertex
    // numbers of the result refer to the sorted order.
    void Mesh();
    // Sorts A[Low..High] by ascending x; equal x keep no defined order.
    static void QuickSort(std::vector<dVertex>& A, int Low, int High);
    // Triangulates points 1..n into Triangle 1..result; returns the number of triangles.
    int Triangulate(int n);
    // Whether (xp, yp) is inside or on the circumcircle of the triangle in slot j, whose
    // corners are given; outputs the circle and caches it in the slot. Three corners on one
    // level report the coincidence message, answer false and leave xc, yc, r as they were.
    bool InCircumcircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3,
                        double y3, int j, double& xc, double& yc, double& r);

private:
    // Puts the corners of a triangle holding points 1..n into vertex slots n+1..n+3 (reaching
    // twice the points' larger extent from their middle, rounded towards zero); gives the
    // points' y range.
    void addSuperTriangle(int n, double& ymin, double& ymax);
    Messages& messages_;
    Progress* progress_ = nullptr;
};

}  // namespace qav
