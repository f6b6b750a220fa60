#pragma once
// The key points of a P-M curve as labelled markers of the P-M chart.
#include <vector>

#include "analysis/key_points.h"
#include "reports/interaction_charts.h"

namespace qav {

// One marker per existing key point at (M, P), labelled P0, Pt, D, B or M0, and the legend.
ChartMarkers keyPointMarkers(const std::vector<KeyPoint>& points);

}  // namespace qav
