#pragma once
// The polygon forms the builders share: concrete outlines and cover lines, steel shapes and
// openings are all made of these. Every shape is centred on the origin unless a centre is given;
// corners come in the order the section file stores them.
#include <vector>

#include "model/section_model.h"

namespace qav {

using Corners = std::vector<TPOS>;

// Degrees to radians as degrees x pi / 180, rounded once to a double.
double degToRad(double degrees);

// n samples of an ellipse about (cx, cy) with semi-axes rx, ry at angles start + step * k.
void appendArc(Corners& out, double cx, double cy, double rx, double ry, double startDeg,
               double stepDeg, int n);
Corners arc(double cx, double cy, double rx, double ry, double startDeg, double stepDeg, int n);

// Rectangle with mid-side corners, anticlockwise from the bottom-left corner:
// (x-w/2, y-h/2), (x, y-h/2), (x+w/2, y-h/2), (x+w/2, y), ... (x-w/2, y).
Corners rectangleAnticlockwise(double w, double h, double cx = 0, double cy = 0);
// The same rectangle clockwise from the bottom-left corner: (-w/2, -h/2), (-w/2, 0), ...
Corners rectangleClockwise(double w, double h);

// I-section with its own top and bottom flanges and a web that may taper (12 corners).
Corners taperedI(double D, double Wt, double Wb, double Tt, double Tb, double tt, double tb);
// Its cover line, d1 inside.
Corners taperedICover(double D, double Wt, double Wb, double Tt, double Tb, double tt, double tb,
                      double d1);
// T-section, flange on top, web tt wide under the flange and tb at the foot (8 corners).
Corners taperedT(double D, double W, double T, double tt, double tb);
Corners taperedTCover(double D, double W, double T, double tt, double tb, double d1);
// Channel open to the right (8 corners).
Corners channel(double D, double W, double T, double t);
Corners channelCover(double D, double W, double T, double t, double d1);
// Angle: horizontal leg T thick at the bottom, vertical leg on the left, tb thick at its foot
// and tt at its top (6 corners).
Corners taperedAngle(double D, double W, double T, double tt, double tb);
Corners taperedAngleCover(double D, double W, double T, double tt, double tb, double d1);

// Rectangular tube as one polygon with a cut along y = -D/2 + T on the left (10 corners):
// outer W x D, horizontal walls T, vertical walls t.
Corners hollowRectangle(double D, double W, double T, double t);
// Circular tube as one polygon with a cut along y = 0 on the left (50 corners).
Corners tube(double D, double T);
// Cross of a vertical plate t x D and a horizontal plate W x T (12 corners).
Corners plateCross(double D, double W, double T, double t);
// Cross of two I-sections: number 1 upright, number 2 on its side (28 corners).
Corners crossOfTwoI(double W1, double H1, double F1, double T1, double W2, double H2, double F2,
                    double T2);

}  // namespace qav
