// HK-COP-2013: the program's own grade tables and laws; the minimum eccentricity of its column
// rules.
#include <algorithm>

#include "model/design_code.h"

namespace qav {

namespace {
double minimumEccentricity(double h) {
    return std::min(0.05 * h, 20.0);
}
}  // namespace

extern const DesignCode HK_COP_2013{.id = CodeId::HkCop2013,
                                    .ownTables = false,
                                    .reducesStrength = false,
                                    .pivot = false,
                                    .bsParabola = false,
                                    .minimumEccentricity = minimumEccentricity,
                                    .minimumEccentricityRule =
                                        "The HK-COP-2013 minimum eccentricity (the smaller of 0.05 "
                                        "h and 20 mm, about one axis at a "
                                        "time)",
                                    .mphiConcreteNote = ""};

}  // namespace qav
