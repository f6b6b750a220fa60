// EN 1992-1-1: its own grade tables and the parabola-rectangle of 3.1.7; a wholly compressed
// section pivots at epsC2 (6.1(5), Figure 6.1); the minimum eccentricity of 6.1(4).
#include <algorithm>

#include "model/design_code.h"

namespace qav {

namespace {
double minimumEccentricity(double h) {
    return std::max(h / 30.0, 20.0);
}
}  // namespace

extern const DesignCode EN_1992_1_1{.id = CodeId::Ec2,
                                    .ownTables = true,
                                    .reducesStrength = false,
                                    .pivot = true,
                                    .bsParabola = false,
                                    .minimumEccentricity = minimumEccentricity,
                                    .minimumEccentricityRule =
                                        "The EN 1992-1-1 minimum eccentricity (6.1(4): the larger "
                                        "of h/30 and 20 mm, about one axis "
                                        "at a time as 5.8.9 allows)",
                                    .mphiConcreteNote = ""};

}  // namespace qav
