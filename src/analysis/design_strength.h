#pragma once
// The design strength of a section whose code reduces its nominal strength (ACI 318-19): phi of
// a nominal state from the net tensile strain of its extreme tension bar, the axial cap
// phi Pn,max, and the design point phi times the nominal one. Under the other codes nothing
// here applies and the nominal strength is the design strength.
#include <array>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

struct DesignStrength {
    bool applies = false;  // the section's code reduces its nominal strength
    // Why the code gives the section no design strength (empty when it does): ACI 318-19 does
    // not design a section without concrete. Such a section keeps its nominal strength only.
    std::string refused;
    Ties ties = Ties::Tied;
    double phiCompression = 1;  // phi of a compression-controlled state
    double phiTension = 1;      // phi of a tension-controlled state
    double P0 = 0;              // nominal axial strength, kN
    double PnMax = 0;           // kN
    double cap = 0;             // phi Pn,max, kN: the largest design compression
    // The elements whose strain decides phi: the bars, or the structural steel of a section
    // without bars; none for plain concrete, whose every state is compression-controlled.
    struct Element {
        double x = 0, y = 0;
        double epsTy = 0;  // yield strain fy / Es of its grade
    };
    std::vector<Element> tension;
    // The section's corners (its control points, or its fibres where it has none): a state
    // that compresses none of them is in tension throughout.
    std::vector<std::array<double, 2>> corners;
};

// The design basis of the meshed section (applies only under ACI 318-19, and not to a section
// without concrete: `refused` then says why). P0 counts the
// concrete fibres at 0.85 f'c of their grade, less the concrete the bars displace (their area
// at the core grade's 0.85 f'c), and every bar and structural steel fibre at its grade's fy:
// structural steel is longitudinal steel of the column as bars are, and the mesh already leaves
// its area out of the concrete.
DesignStrength designStrength(const SectionModel& m);

// "ACI 318-19 does not design ..." for an ACI 318-19 section without concrete; empty otherwise.
// The analyses then give the nominal strength and say so with this text; the member check,
// which asks for the design strength, refuses it.
std::string bareSteelRefusal(const SectionModel& m);

// phi of the state whose strain at (x, y) is abc[0] + abc[1] x + abc[2] y (compression
// positive): from the largest tensile strain among the tension elements and that element's
// yield strain. A state in tension throughout is tension-controlled (phi 0.90): every element
// has yielded, and how far past yield the limit rule strained it changes no force. A state the
// solver did not evaluate (abc null) is taken as compression-controlled.
double phiOfState(const DesignStrength& d, const double* abc);

struct DesignPoint {
    double P = 0, MX = 0, MY = 0;
    bool capped = false;  // the compression was cut to phi Pn,max
    double phi = 1;
};
// phi times the nominal point (kN, kNm), its compression capped at phi Pn,max.
DesignPoint designPoint(const DesignStrength& d, double phi, double P, double MX, double MY);
// The same with phi of the nominal state's own plane (phiOfState): how every analysis makes a
// design point of a nominal one.
DesignPoint designPointOfState(const DesignStrength& d, const double* abc, double P, double MX,
                               double MY);

// A design load fraction along a load's ray: phi at the nominal state times the nominal
// fraction (the design surface point phi s lies on the ray of the nominal one, s), and no more
// than the cap allows for a load of compression P (kN).
struct DesignFraction {
    double fraction = 0;
    bool capGoverns = false;
    double phi = 1;
};
DesignFraction designFraction(const DesignStrength& d, double phi, double nominalFraction,
                              double P);
// The same with phi of the nominal state's own plane (phiOfState): how the check and the state
// at a load make a design fraction of a nominal one.
DesignFraction designFractionOfState(const DesignStrength& d, const double* abc,
                                     double nominalFraction, double P);

// ---- Minimum loads of the member check ------------------------------------------------------

// A load (kN, kNm; P compression positive as the solver reads it) raised to minimum
// magnitudes: P = 0 stays 0, a moment of 0 becomes the positive minimum, every other value
// keeps its sign.
struct RaisedLoad {
    double P = 0, MX = 0, MY = 0;
};
RaisedLoad raiseToMinimum(double P, double MX, double MY, double K_P, double K_MX, double K_MY);

// The section's depth (mm) in the plane of each moment: the extent of the fibres (triangle
// corners and bar centres) along X, MX's lever arm, and along Y, MY's.
std::array<double, 2> bendingDepths(const SectionModel& m);

// The minimum moments (kNm) of a compression P (kN) at the code's minimum eccentricity about
// each axis.
std::array<double, 2> minimumEccentricityMoments(const SectionModel& m, double P);

}  // namespace qav
