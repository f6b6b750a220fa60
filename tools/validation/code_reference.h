#pragma once
// The code laws integrated exactly over polygons, for the validation of the design-code
// analyses: the parabola-rectangle of EN 1992-1-1 (any exponent) and the ACI 318 rectangular
// stress block, and a P-M point of a section at a given neutral axis depth with its most
// compressed fibre at the code's limit. Written from the codes' own definitions, on its own:
// the block is cut at its geometric depth beta1 c, the pivot is placed by its depth, and
// nothing of the program's analysis is used.
#include <array>
#include <vector>

#include "model/design_code.h"
#include "model/section_model.h"
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

// The concrete laws of the codes from the characteristic (cylinder) strength, by the codes' own
// formulas: EN 1992-1-1 Table 3.1 (epsC2, epsCu2 and n above C50/60) with fcd = alphaCC fck / 1.5,
// and the ACI 318-19 block at 0.85 f'c with beta1 from its table and epsCu = 0.003.
CodeConcreteLaw ec2LawOf(double fck, double alphaCC);
CodeConcreteLaw aciLawOf(double fc);

// Exact forces of sigma = E eps over a polygon, eps the plane.
Forces linearForces(const Polygon& poly, const Plane& plane, double E);

// A meshed section under its code with the code's ultimate limit, integrated exactly over its
// polygons: core and cover concrete (structural steel taken out of the core), structural steel
// and bars, each by its code's law from its grade's characteristic strength. A bar carries its
// steel stress less the concrete stress at its strain. HK-COP 2013 takes the grade's own
// parabola and ultimate strain as the limit, BS 8110 its parabola of eps0 = 2.4e-4 sqrt(fcu /
// gamma_m) and 0.0035. Moments about the same point as the mesh's fibres.
class CodeReference {
public:
    explicit CodeReference(const SectionModel& m);

    Forces forces(const Plane& plane) const;
    // The plane at the code's limit whose neutral axis lies at depth c (mm, > 0) below the most
    // compressed concrete corner, compressed towards the direction angle alpha (radians): the
    // first corner at its ultimate strain, or under EN 1992-1-1 the pivot where it governs.
    Plane limitPlane(double alpha, double c) const;

    // The state of the limit surface along the load (P kN compression positive, MX, MY kNm):
    // factor x load is its force. Found by bisection on the neutral axis: its depth for the
    // ratio of axial force to moment, its direction for the moment's direction.
    struct OnRay {
        double factor = 0;
        Plane plane{0, 0, 0};
        double angleError = 0;  // radians left between force and load
    };
    // With `tension`, the states with no concrete compressed instead: the most stretched
    // concrete corner at -0.005 (the program's rule where the codes set no limit).
    OnRay along(double P, double MX, double MY, bool tension = false) const;
    Plane tensionPlane(double alpha, double c) const;

    CodeId code() const { return code_; }
    // ACI 318-19: phi of a state, the strain of the bar farthest in tension deciding; 0.90 for
    // a state with no concrete compressed (its steel strain is bounded by nothing).
    double phi(const Plane& plane) const;
    // ACI 318-19: P0 (N), every concrete zone at 0.85 f'c over its own area less the steel in
    // it, the steel at its yield stress.
    double P0() const;
    // The design strength of a nominal state (N, N mm): phi times its forces, the axial force
    // held to phi Pn,max. Under the other codes the state's forces.
    Forces design(const Plane& plane) const;
    // The design load fraction of a load: along its ray, phi times the nominal factor, or where
    // the ray meets the cap first the cap over the load.
    double designLoadFraction(double P, double MX, double MY, double& angleError,
                              bool tension = false) const;
    double size() const { return size_; }

private:
    struct ConcreteZone {
        std::vector<std::pair<Polygon, int>> parts;
        CodeConcreteLaw law;
    };
    struct Bar {
        double x = 0, y = 0, area = 0, fy = 0;
        int zone = -1;  // the concrete zone whose stress it displaces; -1 none
    };
    struct Corner {
        double x = 0, y = 0, epsCu = 0, epsC2 = 0;
    };
    double concreteStress(const CodeConcreteLaw& law, double eps) const;
    Forces rayForces(double alpha, double u, bool tension, Plane& plane) const;
    CodeId code_ = CodeId::HkCop2013;
    Ties ties_ = Ties::Tied;
    std::vector<ConcreteZone> zones_;
    std::vector<std::pair<Polygon, double>> steel_;  // polygon, yield stress
    std::vector<Bar> bars_;
    std::vector<Corner> corners_;
    double size_ = 1;  // m: moments over it meet forces on one footing
};

}  // namespace qav::validation
