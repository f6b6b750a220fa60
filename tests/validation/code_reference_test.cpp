// The code reference against hand calculations, and the program's code laws against the
// reference: two formulations of each law that share nothing.
#include "code_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/code_laws.h"
#include "model/code_grades.h"

namespace qav::validation {
namespace {

// 300 x 500 about its centre, 2 + 2 bars of 20 mm at 50 mm from the faces.
CodeSection beam(double fy) {
    CodeSection s;
    s.concrete = {{{-150, -250}, {150, -250}, {150, 250}, {-150, 250}}};
    const double area = std::numbers::pi * 100;
    for (const double x : {-100.0, 100.0})
        for (const double y : {-200.0, 200.0}) s.bars.push_back({x, y, area});
    s.fy = fy;
    return s;
}

CodeConcreteLaw ec2Law(double fck) {
    const CodeConcrete c = ec2Concrete(fck);
    return {false, c.fcd, c.epsC2, c.epsCu2, c.n, 0};
}

TEST(CodeReference, Ec2BalancedPointByHand) {
    // C30/37, B500B: the top at 3.5 per mille, the bottom bars at fyd / Es.
    const double fcd = 20, fyd = 500 / 1.15, As = 2 * std::numbers::pi * 100, b = 300;
    const double c = 0.0035 * 450 / (0.0035 + fyd / 200000);
    const double z2 = c * 0.002 / 0.0035;  // depth of the parabola above the axis
    const double C1 = 2.0 / 3 * fcd * b * z2, y1 = 250 - c + 5.0 / 8 * z2;
    const double C2 = fcd * b * (c - z2), y2 = 250 - (c - z2) / 2;
    const double Ts = As * (fyd - fcd), Tb = -As * fyd;  // top bars yield, less the concrete
    const double N = C1 + C2 + Ts + Tb, M = C1 * y1 + C2 * y2 + Ts * 200 + Tb * -200;
    const CodePoint p = codePoint(beam(fyd), ec2Law(30), 0, 1, c);
    EXPECT_NEAR(p.forces.N, N, 1e-9 * N);
    EXPECT_NEAR(p.forces.MY, M, 1e-9 * M);
    EXPECT_NEAR(p.forces.MX, 0, 1e-6 * M);
    EXPECT_NEAR(N / 1e3, 1335.71, 0.01);  // kN
}

TEST(CodeReference, AciBalancedPointByHand) {
    // FC28, GR420: the block 0.85 x 28 over a = 0.85 c, the bottom bars at fy / Es.
    const double c = 0.003 * 450 / (0.003 + 420.0 / 200000), a = 0.85 * c;
    const double As = 2 * std::numbers::pi * 100, Cc = 23.8 * 300 * a;
    const double Ts = As * (420 - 23.8), Tb = -As * 420;
    const double N = Cc + Ts + Tb, M = Cc * (250 - a / 2) + Ts * 200 + Tb * -200;
    const CodeConcreteLaw law{true, 23.8, 0, 0.003, 2, 0.85};
    const CodePoint p = codePoint(beam(420), law, 0, 1, c);
    EXPECT_NEAR(p.forces.N, N, 1e-9 * N);
    EXPECT_NEAR(p.forces.MY, M, 1e-9 * M);
    EXPECT_NEAR(a, 225, 1e-9);
    // The bottom bars at their yield strain: phi 0.65 (tied). All compressed: the cap.
    const DesignPoint d = aciDesignPoint(beam(420), p, 28, false);
    EXPECT_NEAR(d.phi, 0.65, 1e-9);
    EXPECT_NEAR(d.forces.N, 0.65 * N, 1e-6 * N);
    const double Ast = 4 * std::numbers::pi * 100, P0 = 0.85 * 28 * (150000 - Ast) + 420 * Ast;
    const DesignPoint top =
        aciDesignPoint(beam(420), codePoint(beam(420), law, 0, 1, 1e5), 28, true);
    EXPECT_NEAR(top.forces.N, 0.75 * 0.85 * P0, 1e-6 * P0);
}

// The program's limit rule, given the reference's state at any scale, scales it back: the pivot
// where the whole section is compressed, the top at its ultimate strain elsewhere.
TEST(CodeReference, LimitRuleScalesTheReferenceStatesBack) {
    for (const double fck : {30.0, 55.0, 90.0}) {
        const CodeConcreteLaw law = ec2Law(fck);
        std::vector<LimitPoint> corners;
        const CodeSection s = beam(435);
        for (const Pt& v : s.concrete[0]) corners.push_back({v.x, v.y, law.epsCu2, law.epsC2});
        for (const double c : {100.0, 400.0, 499.0, 520.0, 800.0, 5000.0}) {
            const CodePoint p = codePoint(s, law, 0.6, 0.8, c);
            // The depth of the rectangle along (0.6, 0.8).
            const double h = 0.6 * 300 + 0.8 * 500;
            const CodeLimit lim = codeLimitScale(
                corners, {0.37 * p.plane[0], 0.37 * p.plane[1], 0.37 * p.plane[2]}, 0.005);
            EXPECT_NEAR(lim.factor, 1 / 0.37, 1e-9) << fck << " " << c;
            const bool pivot = c > h && law.epsC2 < law.epsCu2;  // not at C90/105: 2.6005 > 2.6
            EXPECT_EQ(lim.kind, pivot ? LimitKind::Pivot : LimitKind::Crushing) << fck << " " << c;
        }
    }
}

// The parabola-rectangle of exponent n integrated exactly over the rectangle under a skew plane,
// against a grid of fibres stressed by the program's law; and the stress block cut at its depth
// against the program's block on the rectangle's two triangles.
TEST(CodeReference, ProgramLawsIntegrateToTheReference) {
    const Polygon rect{{-150, -250}, {150, -250}, {150, 250}, {-150, 250}};
    for (const double fck : {30.0, 55.0, 90.0}) {
        const CodeConcreteLaw law = ec2Law(fck);
        const Plane plane{0.0012, 3e-6, 7e-6};
        const Forces exact = parabolaRectangleForces(rect, plane, law.fcd, law.epsC2, law.n);
        Forces grid;
        const int n = 600;
        const double dx = 300.0 / n, dy = 500.0 / n;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const double x = -150 + (i + 0.5) * dx, y = -250 + (j + 0.5) * dy;
                const double f = parabolaRectangle(law.fcd, law.epsC2, law.n,
                                                   plane[0] + plane[1] * x + plane[2] * y)
                                     .stress *
                                 dx * dy;
                grid.N += f, grid.MX += f * x, grid.MY += f * y;
            }
        EXPECT_NEAR(grid.N, exact.N, 2e-5 * exact.N) << fck;
        EXPECT_NEAR(grid.MX, exact.MX, 2e-5 * std::fabs(exact.MX)) << fck;
        EXPECT_NEAR(grid.MY, exact.MY, 2e-5 * std::fabs(exact.MY)) << fck;
    }
    const CodeConcreteLaw aci{true, 0.85 * 40, 0, 0.003, 2, aciBeta1(40)};
    CodeSection plain = beam(420);
    plain.bars.clear();
    for (const double c : {120.0, 380.0, 700.0}) {
        const CodePoint p = codePoint(plain, aci, -0.28, 0.96, c);
        Forces sum;
        const Point2 q[4] = {{-150, -250}, {150, -250}, {150, 250}, {-150, 250}};
        for (const auto& t :
             {std::array<Point2, 3>{q[0], q[1], q[2]}, std::array<Point2, 3>{q[0], q[2], q[3]}}) {
            const BlockForces f = blockForceOnTriangle(t, p.plane, 0.003, aci.beta1, 40);
            sum.N += f.N, sum.MX += f.MX, sum.MY += f.MY;
        }
        EXPECT_NEAR(sum.N, p.forces.N, 1e-9 * p.forces.N) << c;
        EXPECT_NEAR(sum.MX, p.forces.MX, 1e-9 * p.forces.N * 500) << c;
        EXPECT_NEAR(sum.MY, p.forces.MY, 1e-9 * p.forces.N * 500) << c;
    }
}

}  // namespace
}  // namespace qav::validation
