#pragma once
// Points filed by square cells so that the points near a given one are found by looking at a
// few cells instead of all points. Every caller still applies its own exact distance test;
// the cells only narrow the candidates down.
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace qav {

// The box the filed points lie in.
struct BucketBox {
    double xmin = std::numeric_limits<double>::infinity(),
           ymin = std::numeric_limits<double>::infinity();
    double xmax = -std::numeric_limits<double>::infinity(),
           ymax = -std::numeric_limits<double>::infinity();
    void add(double x, double y);
};

class PointBuckets {
public:
    // cell: the side of a cell; searches reach exactly within a radius up to one cell. Cells
    // are counted from the corner of box, so no cell index is ever clamped for a point inside
    // it, however far from the origin the box lies; a box too wide for the index range gets
    // larger cells. A point outside the box is filed in the nearest edge cell: still found.
    PointBuckets(double cell, const BucketBox& box);

    void insert(double x, double y, int index);

    // Calls fn(index) for every filed point in the cells around (x, y) that may lie within
    // radius (radius <= cell); fn returns false to stop early. Returns false when stopped.
    template <class Fn>
    bool forEachNear(double x, double y, double radius, Fn&& fn) const {
        const long long ix0 = cellOf(x - radius, x0_) - 1, ix1 = cellOf(x + radius, x0_) + 1;
        const long long iy0 = cellOf(y - radius, y0_) - 1, iy1 = cellOf(y + radius, y0_) + 1;
        for (long long ix = ix0; ix <= ix1; ++ix)
            for (long long iy = iy0; iy <= iy1; ++iy) {
                const auto it = heads_.find(key(ix, iy));
                if (it == heads_.end()) continue;
                for (int e = it->second; e >= 0; e = entries_[static_cast<std::size_t>(e)].next)
                    if (!fn(entries_[static_cast<std::size_t>(e)].index)) return false;
            }
        return true;
    }

    double cell() const { return cell_; }

private:
    struct Entry {
        int index;
        int next;
    };
    long long cellOf(double v, double origin) const;
    static uint64_t key(long long ix, long long iy) {
        return (static_cast<uint64_t>(ix) << 32) ^ (static_cast<uint64_t>(iy) & 0xffffffffu);
    }

    double cell_;
    double x0_ = 0, y0_ = 0;
    std::unordered_map<uint64_t, int> heads_;
    std::vector<Entry> entries_;
};

}  // namespace qav
