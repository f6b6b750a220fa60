#pragma once
// The one bound on lengths the program accepts from any source: builder boxes, rebar tools,
// section files, DXF drawings. A section larger than a kilometre is a typing or unit error, and
// keeping every coordinate and size below this bound keeps the sums of the section properties,
// the mesh and the analysis far from overflow.
#include <cmath>

namespace qav {

// Largest magnitude of a coordinate or a size, in mm.
constexpr double MAX_LENGTH_MM = 1e6;

// A length the model may hold: finite and within MAX_LENGTH_MM.
inline bool isAcceptedLength(double v) {
    return std::isfinite(v) && std::fabs(v) <= MAX_LENGTH_MM;
}

}  // namespace qav
