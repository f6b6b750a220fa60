#pragma once
// The two uniaxial laws every fibre follows. Strain and stress are positive in compression.
// They are inline because the equilibrium solvers call them once per fibre per iteration.

namespace qav {

// Fixed modulus the solvers pass to STEEL01, whatever the material's ES.
constexpr double STEEL_LAW_MODULUS = 200000.0;

// The strain of the limit rule, and the largest steel stress the solvers use: the stress the
// law reaches by that strain. A steel that would yield only beyond it (a strand, FY1 above
// 1000 N/mm2) is taken at that stress in tension and compression, so that the states at the
// limit run on into uniform tension without a gap and PMIN is their end. Ordinary steels keep
// their FY1.
constexpr double STEEL_CONTROL_STRAIN = 0.005;
constexpr double STEEL_STRESS_CAP = STEEL_LAW_MODULUS * STEEL_CONTROL_STRAIN;
inline double steelLawStrength(double FY1) {
    return FY1 > STEEL_STRESS_CAP ? STEEL_STRESS_CAP : FY1;
}

// Parabola up to E0, then a plateau at FC; no tension, no descending branch.
inline void CONCRETE01(double FC, double E0, double EE, double& SS) {
    if (EE <= 0) {
        SS = 0;
    } else if (EE <= E0) {
        const double c = EE / E0;
        SS = FC * (2 * c - c * c);
    } else {
        SS = FC;
    }
}

// Elastic-perfectly plastic, the same yield stress in tension and compression.
inline void STEEL01(double ES, double FY, double EE, double& SS) {
    const double ey = FY / ES;
    if (EE >= -ey && EE <= ey) {
        SS = ES * EE;
    } else {
        SS = EE > 0 ? FY : -FY;
    }
}

}  // namespace qav
