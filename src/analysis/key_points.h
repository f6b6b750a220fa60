#pragma once
// The points of a P-M curve an engineer checks by hand, each a real state of the section: pure
// compression and pure tension, and on both branches decompression, balanced failure and pure
// bending. A point that a section cannot have (no tension without bars or steel) says why.
#include <string>
#include <vector>

#include "analysis/section_state.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

enum class KeyPointKind { PureCompression, PureTension, Decompression, Balanced, PureBending };

struct KeyPoint {
    KeyPointKind kind = KeyPointKind::PureCompression;
    // +1 on the branch of the angle, -1 on the branch of the angle + 180, 0 for the axial points.
    int branch = 0;
    std::string label;  // "Balanced (45)"
    bool exists = false;
    std::string missing;  // why the point does not exist
    // kN and kNm, compression positive; M signed as the curve's points are (+ on the angle's
    // branch, - on the other).
    double P = 0, M = 0, MX = 0, MY = 0;
    // Under a strength reduction P .. MY are the design strength (phi times the nominal, the
    // compression capped at phi Pn,max) and these the nominal strength and phi.
    bool design = false;
    double nomP = 0, nomM = 0, phi = 1;
    StrainPlane plane;
    NeutralAxis axis;
    StrainLimit limit = StrainLimit::Control;  // the ultimate limit the point was found at
};

// The key points of the P-M curve at the moment angle ANG (degrees, the angle the curve is run
// with): pure compression, pure tension, then decompression, balanced and pure bending on the
// ANG branch and on the ANG + 180 branch. The limit strain sits at the most compressed control
// point; decompression puts zero strain at the most tensile control point, balanced puts the
// most tensile bar or steel fibre at its yield strain FY1 / 200000, pure bending has no axial
// force. The neutral axis of each is turned until the moment points along the branch's angle.
// Throws InputError when there are no fibres. The model is not changed. The count of the axial
// solves that did not converge goes to msgs, when there are any.
std::vector<KeyPoint> PM_KEY_POINTS(const SectionModel& m, double ANG, Messages& msgs);

// The labelled table printed after the P-M listing, its title naming the limit the points were
// found at; under a strength reduction with the nominal strength and phi beside the design
// strength.
std::vector<std::string> keyPointsText(const std::vector<KeyPoint>& points, double ANG);
// The same table as CSV: a header with units, one row per point (a point that does not exist
// gives its reason in the last column).
std::vector<std::string> keyPointsCsv(const std::vector<KeyPoint>& points);

}  // namespace qav
