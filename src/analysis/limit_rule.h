#pragma once
// The limit rule: which plane strain states count as the section at its limit. A deformation a
// (strain a0 + a1 X + a2 Y) is brought to the limit by one factor, and the rule says which
// control point then sits at which strain. Seen the other way, at each direction phi of the
// strain gradient the states at the limit form a one-parameter family: t runs from the section
// in uniform compression at t = 0 to uniform tension at the family's end, the neutral axis
// moving across the section, in pieces along which the states vary smoothly. The solvers ask
// the rule for both views: the factor of a trial deformation (Newton's steps) and the family
// (the bracketing searches).
#include <cstddef>
#include <vector>

#include "analysis/code_laws.h"
#include "analysis/fibre_arrays.h"

namespace qav {

// The strain at the limit under the control-strain rules, and the stretch at which every rule
// holds a section in uniform tension.
constexpr double EPS_LIMIT = 0.005;

enum class LimitMode {
    Compressed,  // STRAIN_LIMIT_MODE 1: the most compressed point at the limit (with none, the
                 // most stretched)
    Smaller,     // 2: the smaller of the two extreme magnitudes at the limit
    Larger,      // 3: the larger of them
    Prescribed,  // the most compressed point at a given strain (moment-curvature steps)
    Code,        // the design code's ultimate limits (mode 1 where the code's limit applies)
};

// An interval of t along which the family's states vary smoothly.
struct FamilyPiece {
    double t0 = 0, t1 = 0;
};

class LimitRule {
public:
    // The rule of a STRAIN_LIMIT_MODE on the fibres' control points: mode 1 becomes the code's
    // rule where the fibres carry the code's limit; anything but 2 or 3 is mode 1.
    static LimitRule ofMode(const FibreArrays& f, int mode);
    // The most compressed control point at epsMax.
    static LimitRule atStrain(const FibreArrays& f, double epsMax);

    LimitMode mode() const { return mode_; }
    // The limit strain: EPS_LIMIT, or the prescribed strain.
    double strain() const { return strain_; }
    // The rule holds either extreme at the limit, of either sign (modes 2 and 3).
    bool eitherExtreme() const { return mode_ == LimitMode::Smaller || mode_ == LimitMode::Larger; }

    // The factor that brings the deformation a to the limit and the constraint that then holds;
    // not ok where no control point is strained so that the rule can place it.
    Limit limit(const double a[3]) const;

    // The deformation of the family at the gradient direction phi (radians) and the position t.
    // Compressed, Code and Prescribed: t in [0, 1) keeps the most compressed point at the limit
    // while the opposite extreme falls without bound; t in [1, 2] holds the most stretched point
    // at -EPS_LIMIT while the other rises from 0 to it (Prescribed has only the first). Larger:
    // one continuous piece, t in [0, 2]. Smaller jumps where the first point goes into tension,
    // so it has three: t in [0, 1) the section compressed, the other extreme falling from the
    // limit to 0; t in (1, 3) both extremes beyond the limit; t in [3, 4] the section in
    // tension. Under the code's rule each state is the program's own brought to the code's
    // limits along its ray.
    void plane(double phi, double t, double a[3]) const;
    // The family's pieces, in order of t.
    std::vector<FamilyPiece> pieces() const;

private:
    LimitRule(const FibreArrays& f, LimitMode mode, double strain)
        : f_(&f), mode_(mode), strain_(strain) {}
    // The strains of the most compressed (hi) and the most stretched (lo) extremes at t.
    void extremes(double t, double& hi, double& lo) const;

    const FibreArrays* f_;
    LimitMode mode_;
    double strain_;
};

// The code's rule on the fibres' control points at their grades' ultimate strains; where it sets
// no limit (no control point with an ultimate strain), the program's mode 1: the most
// compressed point at EPS_LIMIT.
Limit codeRuleLimit(const FibreArrays& f, const double a[3]);

}  // namespace qav
