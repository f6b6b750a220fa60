#pragma once
// A state of a moment-curvature step found by two nested one-dimensional searches, for the
// steps Newton's method and the moment search leave unsolved (a tension near the section's
// yield force, where the compressed zone is a sliver and the tangent says almost nothing).
// The compressed edge is held at the step's strain; for a tilt of the strain gradient the
// axial force falls monotonically with the curvature, so halving finds the curvature that
// carries the axial force; the tilt is then sought, bracketed, at which the moment across the
// asked direction vanishes.
#include "analysis/fibre_arrays.h"

namespace qav {

struct CurvatureState {
    bool found = false;  // a state carrying the axial force with no cross moment
    // Every tilt of the gradient carries the axial force with a cross moment of one sign: no
    // state of the step has none.
    bool noState = false;
    double abc[3] = {0, 0, 0};
    double ss[3] = {0, 0, 0};  // its forces: N, N mm, N mm
    double residual = 0;       // relative force residual (moments at the radius of gyration)
    double tilt = 0;           // of the strain gradient from the asked direction, radians
    int passes = 0;            // fibre passes taken
};

// The state whose most compressed control point is at eps and whose forces are the axial
// force N (N) and a moment along (ux, uy), the unit direction towards the compressed edge;
// the search of the tilt starts at tiltStart.
// The radius of gyration (mm) of the fibres' areas about the reference point: the length at
// which a moment weighs as a force when forces are compared.
double fibreRadius(const FibreArrays& f);

CurvatureState searchCurvatureState(const FibreArrays& f, double N, double ux, double uy,
                                    double eps, double tiltStart);

}  // namespace qav
