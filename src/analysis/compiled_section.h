#pragma once
// A meshed section compiled for the solvers: the fibres as flat arrays with their laws, the
// elastic stiffness and its inverse, and what the section says to every run. It never changes once
// made, so one compiled section serves every solver of a run and every thread at once; each solver
// keeps only its own last state.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "analysis/fibre_arrays.h"
#include "analysis/reference/reference_iteration.h"
#include "model/section_model.h"

namespace qav {

// PMAX: core concrete plus steel, PMIN: steel in tension, each fibre at the stress of its law
// at the limit strain (kN); see axialCapacity.
struct AxialCapacity {
    double PMAX = 0, PMIN = 0;
};

class CompiledSection {
public:
    explicit CompiledSection(const SectionModel& m, FibreLaws laws = FibreLaws::Ultimate);

    const FibreArrays& fibres() const { return fibres_; }
    const matrx2& stiffness() const { return k0_; }
    // The model's axialCapacity, from these fibres where they carry the code's limit.
    const AxialCapacity& axialCapacity() const { return axial_; }
    const matrx2& inverseStiffness() const { return kinv_; }
    // What inverting the stiffness said ("Singular matrix."); empty when it is regular. Every
    // solve repeats it.
    const std::vector<std::string>& singularMessages() const { return singular_; }
    // What every solver made from the section says once (steel capped at the limit strain, a
    // bare steel section refused by the code).
    const std::vector<std::string>& sectionMessages() const { return said_; }
    // The fibres carry no tension (plain concrete), and then the convex hull of their centres,
    // counterclockwise (x, y pairs).
    bool carriesNoTension() const { return compressionOnly_; }
    const std::vector<double>& compressionHull() const { return hull_; }
    // The least tension (N, the largest axial force) of the seam states of the control-strain
    // rule, over every direction: each plane with its top at zero strain and its bottom at
    // -EPS_LIMIT. Every state held at a stretched point carries at least this tension. Found
    // at the first call (a scan of directions, refined about the largest: 54 fibre passes),
    // then kept.
    double seamAxialForce() const;

private:
    FibreArrays fibres_;
    matrx2 k0_{}, kinv_{};
    std::vector<std::string> singular_, said_;
    bool compressionOnly_ = false;
    std::vector<double> hull_;
    AxialCapacity axial_;
    mutable std::once_flag seamOnce_;
    mutable double seam_ = 0;
};

using SharedSection = std::shared_ptr<const CompiledSection>;
inline SharedSection compileSection(const SectionModel& m, FibreLaws laws = FibreLaws::Ultimate) {
    return std::make_shared<const CompiledSection>(m, laws);
}

}  // namespace qav
