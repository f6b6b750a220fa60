// ACI 318-19: its own grade tables and the stress block of 22.2.2.4; a strength reduction
// factor and an axial cap (21.2.2, 22.4.2.1) make the design strength of the nominal one; the
// minimum moment of the slenderness rules (6.6.4.5.4). The block serves the ultimate state
// only: a moment-curvature run takes the parabola with a plateau.
#include "model/design_code.h"

namespace qav {

namespace {
double minimumEccentricity(double h) {
    return 15.0 + 0.03 * h;
}
}  // namespace

extern const DesignCode ACI_318_19{
    .id = CodeId::Aci318,
    .ownTables = true,
    .reducesStrength = true,
    .pivot = false,
    .bsParabola = false,
    .minimumEccentricity = minimumEccentricity,
    .minimumEccentricityRule =
        "The ACI 318-19 minimum moment of its slenderness rules (6.6.4.5.4: Pu (15 mm + 0.03 h), "
        "about one axis at a time)",
    .mphiConcreteNote = "Concrete: parabola with a plateau at 0.85 f'c up to 0.003 (ACI 318-19)"};

}  // namespace qav
