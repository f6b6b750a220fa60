#pragma once
// Points filed by square cells so that the points near a given one are found by looking at a
// few cells instead of all points. Every caller still applies its own exact distance test;
// the cells only narrow the candidates down.
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qav {

class PointBuckets {
public:
    // cell: the side of a cell; searches reach exactly within a radius up to one cell.
    explicit PointBuckets(double cell) : cell_(cell) {}

    void insert(double x, double y, int index);

    // Calls fn(index) for every filed point in the cells around (x, y) that may lie within
    // radius (radius <= cell); fn returns false to stop early. Returns false when stopped.
    template <class Fn>
    bool forEachNear(double x, double y, double radius, Fn&& fn) const {
        const long long ix0 = cellOf(x - radius) - 1, ix1 = cellOf(x + radius) + 1;
        const long long iy0 = cellOf(y - radius) - 1, iy1 = cellOf(y + radius) + 1;
        for (long long ix = ix0; ix <= ix1; ++ix)
            for (long long iy = iy0; iy <= iy1; ++iy) {
                const auto it = heads_.find(key(ix, iy));
                if (it == heads_.end()) continue;
                for (int e = it->second; e >= 0; e = entries_[static_cast<std::size_t>(e)].next)
                    if (!fn(entries_[static_cast<std::size_t>(e)].index)) return false;
            }
        return true;
    }

private:
    struct Entry {
        int index;
        int next;
    };
    long long cellOf(double v) const;
    static uint64_t key(long long ix, long long iy) {
        return (static_cast<uint64_t>(ix) << 32) ^ (static_cast<uint64_t>(iy) & 0xffffffffu);
    }

    double cell_;
    std::unordered_map<uint64_t, int> heads_;
    std::vector<Entry> entries_;
};

}  // namespace qav
