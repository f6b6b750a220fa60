#pragma once
// The code laws integrated exactly over polygons, for the validation of the design-code
// analyses: the parabola-rectangle of EN 1992-1-1 (any exponent) and the ACI 318 rectangular
// stress block, and a P-M point of a section at a given neutral axis depth with its most
// compressed fibre at the code's limit. Written from the codes' own definitions, on its own:
// the block is cut at its geometric depth beta1 c, the pivot is placed by its depth, and
// nothing of the program's analysis is used.
#include <array>
#include <vector>

#include "reference_section.h"

namespace qav::validation {

using Plane = std::array<double, 3>;  // strain a1 + a2 x + a3 y

// Exact forces (N, N mm) of sigma = fcd [1 - (1 - eps/epsC2)^n] up to epsC2, fcd above, nothing
// in tension, over a counter-clockwise polygon.
Forces parabolaRectangleForces(const Polygon& poly, const Plane& plane, double fcd, double epsC2,
                               double n);
// Exact forces of a uniform stress over the part of a polygon where the plane is >= t.
Forces uniformForces(const Polygon& poly, const Plane& plane, double t, double stress);

struct CodeBar {
    double x = 0, y = 0, area = 0;
};

// A concrete section (counter-clockwise polygons, no holes) with bars of one grade.
struct CodeSection {
    std::vector<Polygon> concrete;
    std::vector<CodeBar> bars;
    double fy = 0;  // design yield stress of the bars (modulus 200000)
};

struct CodeConcreteLaw {
    bool block = false;  // the ACI 318 stress block; else the parabola-rectangle
    double fcd = 0;      // parabola-rectangle: peak stress; block: 0.85 f'c
    double epsC2 = 0, epsCu2 = 0, n = 2;
    double beta1 = 0.85;
};

struct CodePoint {
    Forces forces;  // N, N mm; bars carry their steel stress less the concrete's at their strain
    Plane plane;    // the strain plane of the state
    double topStrain = 0;
};

// The state whose neutral axis lies at depth c (mm) below the most compressed corner, the
// compressed side towards the unit direction (dx, dy): the top fibre at epsCu2, or, for the
// parabola-rectangle with c beyond the section's depth h, the strain epsC2 at the depth
// (1 - epsC2 / epsCu2) h.
CodePoint codePoint(const CodeSection& s, const CodeConcreteLaw& law, double dx, double dy,
                    double c);

// The ACI 318-19 design strength of a nominal state: phi from the net tensile strain of the bar
// farthest in tension (0.65 tied or 0.75 spiral up to its yield strain, 0.90 from 0.003 beyond,
// straight between), and the axial force held to phi x 0.80 P0 (tied) or 0.85 P0 (spiral),
// P0 = 0.85 f'c (Ag - Ast) + fy Ast, the moments left as they are.
struct DesignPoint {
    double phi = 0;
    Forces forces;
};
DesignPoint aciDesignPoint(const CodeSection& s, const CodePoint& nominal, double fc, bool spiral);

}  // namespace qav::validation
