#include "builders/shape_forms.h"

#include <cmath>
#include <numbers>

namespace qav {

double degToRad(double degrees) {
    // The product is formed in extended precision and rounded once, as the stored files expect.
    return static_cast<double>(static_cast<long double>(degrees) * std::numbers::pi_v<long double> /
                               180.0L);
}

void appendArc(Corners& out, double cx, double cy, double rx, double ry, double startDeg,
               double stepDeg, int n) {
    for (int k = 0; k < n; ++k) {
        const double a = degToRad(startDeg + stepDeg * k);
        out.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
}

Corners arc(double cx, double cy, double rx, double ry, double startDeg, double stepDeg, int n) {
    Corners c;
    appendArc(c, cx, cy, rx, ry, startDeg, stepDeg, n);
    return c;
}

Corners rectangleAnticlockwise(double w, double h, double x, double y) {
    return {{x - w / 2, y - h / 2}, {x, y - h / 2}, {x + w / 2, y - h / 2}, {x + w / 2, y},
            {x + w / 2, y + h / 2}, {x, y + h / 2}, {x - w / 2, y + h / 2}, {x - w / 2, y}};
}

Corners rectangleClockwise(double w, double h) {
    return {{-w / 2, -h / 2}, {-w / 2, 0}, {-w / 2, h / 2}, {0, h / 2},
            {w / 2, h / 2},   {w / 2, 0},  {w / 2, -h / 2}, {0, -h / 2}};
}

Corners taperedI(double D, double Wt, double Wb, double Tt, double Tb, double tt, double tb) {
    return {{-Wb / 2, -D / 2},     {Wb / 2, -D / 2},       {Wb / 2, -D / 2 + Tb},
            {tb / 2, -D / 2 + Tb}, {tt / 2, D / 2 - Tt},   {Wt / 2, D / 2 - Tt},
            {Wt / 2, D / 2},       {-Wt / 2, D / 2},       {-Wt / 2, D / 2 - Tt},
            {-tt / 2, D / 2 - Tt}, {-tb / 2, -D / 2 + Tb}, {-Wb / 2, -D / 2 + Tb}};
}

Corners taperedICover(double D, double Wt, double Wb, double Tt, double Tb, double tt, double tb,
                      double d1) {
    return {{-Wb / 2 + d1, -D / 2 + d1},      {Wb / 2 - d1, -D / 2 + d1},
            {Wb / 2 - d1, -D / 2 + Tb - d1},  {tb / 2 - d1, -D / 2 + Tb - d1},
            {tt / 2 - d1, D / 2 - Tt + d1},   {Wt / 2 - d1, D / 2 - Tt + d1},
            {Wt / 2 - d1, D / 2 - d1},        {-Wt / 2 + d1, D / 2 - d1},
            {-Wt / 2 + d1, D / 2 - Tt + d1},  {-tt / 2 + d1, D / 2 - Tt + d1},
            {-tb / 2 + d1, -D / 2 + Tb - d1}, {-Wb / 2 + d1, -D / 2 + Tb - d1}};
}

Corners taperedT(double D, double W, double T, double tt, double tb) {
    return {{-tb / 2, -D / 2}, {tb / 2, -D / 2}, {tt / 2, D / 2 - T}, {W / 2, D / 2 - T},
            {W / 2, D / 2},    {-W / 2, D / 2},  {-W / 2, D / 2 - T}, {-tt / 2, D / 2 - T}};
}

Corners taperedTCover(double D, double W, double T, double tt, double tb, double d1) {
    return {{-tb / 2 + d1, -D / 2 + d1},   {tb / 2 - d1, -D / 2 + d1},
            {tt / 2 - d1, D / 2 - T + d1}, {W / 2 - d1, D / 2 - T + d1},
            {W / 2 - d1, D / 2 - d1},      {-W / 2 + d1, D / 2 - d1},
            {-W / 2 + d1, D / 2 - T + d1}, {-tt / 2 + d1, D / 2 - T + d1}};
}

Corners channel(double D, double W, double T, double t) {
    return {{-W / 2, -D / 2},         {W / 2, -D / 2},         {W / 2, -D / 2 + T},
            {-W / 2 + t, -D / 2 + T}, {-W / 2 + t, D / 2 - T}, {W / 2, D / 2 - T},
            {W / 2, D / 2},           {-W / 2, D / 2}};
}

Corners channelCover(double D, double W, double T, double t, double d1) {
    return {{-W / 2 + d1, -D / 2 + d1},        {W / 2 - d1, -D / 2 + d1},
            {W / 2 - d1, -D / 2 + T - d1},     {-W / 2 + t - d1, -D / 2 + T - d1},
            {-W / 2 + t - d1, D / 2 - T + d1}, {W / 2 - d1, D / 2 - T + d1},
            {W / 2 - d1, D / 2 - d1},          {-W / 2 + d1, D / 2 - d1}};
}

Corners taperedAngle(double D, double W, double T, double tt, double tb) {
    return {{-W / 2, -D / 2},          {W / 2, -D / 2},      {W / 2, -D / 2 + T},
            {-W / 2 + tb, -D / 2 + T}, {-W / 2 + tt, D / 2}, {-W / 2, D / 2}};
}

Corners taperedAngleCover(double D, double W, double T, double tt, double tb, double d1) {
    return {{-W / 2 + d1, -D / 2 + d1},     {W / 2 - d1, -D / 2 + d1},
            {W / 2 - d1, -D / 2 + T - d1},  {-W / 2 + tb - d1, -D / 2 + T - d1},
            {-W / 2 + tt - d1, D / 2 - d1}, {-W / 2 + d1, D / 2 - d1}};
}

Corners hollowRectangle(double D, double W, double T, double t) {
    return {{-W / 2, -D / 2},        {W / 2, -D / 2},        {W / 2, D / 2},
            {-W / 2, D / 2},         {-W / 2, -D / 2 + T},   {-W / 2 + t, -D / 2 + T},
            {-W / 2 + t, D / 2 - T}, {W / 2 - t, D / 2 - T}, {W / 2 - t, -D / 2 + T},
            {-W / 2, -D / 2 + T}};
}

Corners tube(double D, double T) {
    Corners c = arc(0, 0, D / 2, D / 2, 180, 15, 25);
    appendArc(c, 0, 0, D / 2 - T, D / 2 - T, 180, -15, 25);
    return c;
}

Corners plateCross(double D, double W, double T, double t) {
    return {{-t / 2, -D / 2}, {t / 2, -D / 2}, {t / 2, -T / 2},  {W / 2, -T / 2},
            {W / 2, T / 2},   {t / 2, T / 2},  {t / 2, D / 2},   {-t / 2, D / 2},
            {-t / 2, T / 2},  {-W / 2, T / 2}, {-W / 2, -T / 2}, {-t / 2, -T / 2}};
}

Corners crossOfTwoI(double W1, double H1, double F1, double T1, double W2, double H2, double F2,
                    double T2) {
    return {{-W1 / 2, -H1 / 2},      {W1 / 2, -H1 / 2},      {W1 / 2, -H1 / 2 + F1},
            {T1 / 2, -H1 / 2 + F1},  {T1 / 2, -T2 / 2},      {H2 / 2 - F2, -T2 / 2},
            {H2 / 2 - F2, -W2 / 2},  {H2 / 2, -W2 / 2},      {H2 / 2, W2 / 2},
            {H2 / 2 - F2, W2 / 2},   {H2 / 2 - F2, T2 / 2},  {T1 / 2, T2 / 2},
            {T1 / 2, H1 / 2 - F1},   {W1 / 2, H1 / 2 - F1},  {W1 / 2, H1 / 2},
            {-W1 / 2, H1 / 2},       {-W1 / 2, H1 / 2 - F1}, {-T1 / 2, H1 / 2 - F1},
            {-T1 / 2, T2 / 2},       {-H2 / 2 + F2, T2 / 2}, {-H2 / 2 + F2, W2 / 2},
            {-H2 / 2, W2 / 2},       {-H2 / 2, -W2 / 2},     {-H2 / 2 + F2, -W2 / 2},
            {-H2 / 2 + F2, -T2 / 2}, {-T1 / 2, -T2 / 2},     {-T1 / 2, -H1 / 2 + F1},
            {-W1 / 2, -H1 / 2 + F1}};
}

}  // namespace qav
