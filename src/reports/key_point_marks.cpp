#include "reports/key_point_marks.h"

namespace qav {

ChartMarkers keyPointMarkers(const std::vector<KeyPoint>& points) {
    ChartMarkers out;
    out.legend = "Key points: P0 compr., Pt tension, D decompr., B balanced, M0 bending";
    for (const KeyPoint& k : points) {
        if (!k.exists) continue;
        const char* label = "";
        switch (k.kind) {
            case KeyPointKind::PureCompression:
                label = "P0";
                break;
            case KeyPointKind::PureTension:
                label = "Pt";
                break;
            case KeyPointKind::Decompression:
                label = "D";
                break;
            case KeyPointKind::Balanced:
                label = "B";
                break;
            case KeyPointKind::PureBending:
                label = "M0";
                break;
        }
        out.points.push_back({k.M, k.P, label});
    }
    return out;
}

}  // namespace qav
