// BS 8110-1: the program's own grade tables; under its limits the parabola of Figure 2.1 to
// 0.0035 at every grade; the minimum eccentricity of 3.8.2.4.
#include <algorithm>

#include "model/design_code.h"

namespace qav {

namespace {
double minimumEccentricity(double h) {
    return std::min(0.05 * h, 20.0);
}
}  // namespace

extern const DesignCode BS_8110{.id = CodeId::Bs8110,
                                .ownTables = false,
                                .reducesStrength = false,
                                .pivot = false,
                                .bsParabola = true,
                                .minimumEccentricity = minimumEccentricity,
                                .minimumEccentricityRule =
                                    "The BS-8110 minimum eccentricity (3.8.2.4: the smaller of "
                                    "0.05 h and 20 mm, about one axis "
                                    "at a time)",
                                .mphiConcreteNote = ""};

}  // namespace qav
