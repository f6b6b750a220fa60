#pragma once
// The fibres as the solvers read them: flat arrays per law (structure of arrays), copied once
// from the model's fibre table so that the hot loop touches only what it needs.
#include <cstdint>
#include <vector>

#include "model/section_model.h"

namespace qav {

struct FibreArrays {
    // Concrete fibres (kinds 1 and 4).
    std::vector<double> concX, concY, concArea, concFc, concEps0;
    std::vector<int32_t> concFibre;  // fibre number in the model
    // Steel fibres (kinds 2 and 3), modulus STEEL_LAW_MODULUS.
    std::vector<double> steelX, steelY, steelArea, steelFy;
    std::vector<int32_t> steelFibre;
    // Fibres of any other kind keep their stored stress: their forces are constant.
    double fixedForce[3] = {0, 0, 0};
    // Control points.
    std::vector<double> cpX, cpY;

    explicit FibreArrays(const SectionModel& m);
    int fibreCount() const { return static_cast<int>(concX.size() + steelX.size()) + otherCount; }
    int otherCount = 0;
};

// Internal forces (sum of stress x area, x X, x Y) of the fibres at the deformation abc, the
// strain at (X, Y) being abc[0] + abc[1] X + abc[2] Y.
void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]);

// Writes strain and stress of every fibre at the deformation abc into the model's fibres.
void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m);

}  // namespace qav
