// The code reference against hand calculations, and the program's code laws against the
// reference: two formulations of each law that share nothing.
#include "code_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <utility>

#include "analysis/code_laws.h"
#include "analysis/triangle_integral.h"
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
            const Limit lim = codeLimitScale(
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

// A pentagon cut into triangles two ways: a fan from a corner (3) and a star from an inner
// point (5, a block of four and one more).
const Polygon PENTAGON{{-150, -250}, {180, -220}, {160, 240}, {-40, 300}, {-170, 120}};

TriangleArrays pentagonCut(bool star) {
    std::vector<std::array<double, 6>> cut;
    const std::size_t n = PENTAGON.size();
    for (std::size_t i = star ? 0 : 1; star ? i < n : i + 1 < n; ++i) {
        const Pt& o = star ? Pt{20, 30} : PENTAGON[0];
        const Pt& p = PENTAGON[i];
        const Pt& q = PENTAGON[(i + 1) % n];
        cut.push_back({o.x, o.y, p.x, p.y, q.x, q.y});
    }
    TriangleArrays t;
    t.resize(cut.size());
    for (std::size_t i = 0; i < cut.size(); ++i) t.set(i, cut[i].data());
    return t;
}

// The fan triangle by triangle (integrateTriangle), the star at once (integrateTriangles).
TriangleIntegral over(const TriangleArrays& t, bool oneByOne, const double plane[3],
                      const TriangleLaw& law, bool tangent) {
    const std::size_t n = t.corner[0].size();
    if (!oneByOne) return integrateTriangles(t, 0, n, plane, law, tangent);
    TriangleIntegral sum;
    for (std::size_t i = 0; i < n; ++i) {
        double c[6];
        t.cornersOf(i, c);
        const TriangleIntegral one = integrateTriangle(c, plane, law, tangent);
        sum.N += one.N, sum.MX += one.MX, sum.MY += one.MY;
        for (std::size_t q = 0; q < 6; ++q) sum.k[q] += one.k[q];
    }
    return sum;
}

// The tangent against central differences of the forces: N's row and MX's.
void expectTangentOfForces(const TriangleArrays& t, const double plane[3], const TriangleLaw& law) {
    const TriangleIntegral k = over(t, false, plane, law, true);
    const double kN[3] = {k.k[0], k.k[1], k.k[2]}, kX[3] = {k.k[1], k.k[3], k.k[4]};
    for (std::size_t j = 0; j < 3; ++j) {
        double hi[3] = {plane[0], plane[1], plane[2]}, lo[3] = {plane[0], plane[1], plane[2]};
        const double h = j == 0 ? 1e-8 : 1e-10;
        hi[j] += h, lo[j] -= h;
        const TriangleIntegral a = over(t, false, hi, law, false),
                               b = over(t, false, lo, law, false);
        const double scale = (std::fabs(k.k[0]) + 1) * (j == 0 ? 1 : 300);
        EXPECT_NEAR((a.N - b.N) / (2 * h), kN[j], 1e-5 * scale) << j;
        EXPECT_NEAR((a.MX - b.MX) / (2 * h), kX[j], 1e-5 * scale * 300) << j;
    }
}

// The steel law over the pentagon by the reference: the line between the yield strains, the
// yield stress beyond.
Forces steelReference(const Plane& s, double fy) {
    const double ey = fy / 200000;
    Forces f = linearForces(
        clip(clip(PENTAGON, s[0], s[1], s[2], -ey, +1), s[0], s[1], s[2], ey, -1), s, 200000);
    const Forces up = uniformForces(PENTAGON, s, ey, fy);
    const Forces down = uniformForces(PENTAGON, {-s[0], -s[1], -s[2]}, ey, -fy);
    f.N += up.N + down.N, f.MX += up.MX + down.MX, f.MY += up.MY + down.MY;
    return f;
}

void expectForces(const TriangleIntegral& t, const Forces& ref, double size) {
    EXPECT_NEAR(t.N, ref.N, 1e-10 * size);
    EXPECT_NEAR(t.MX, ref.MX, 1e-10 * size * 300);
    EXPECT_NEAR(t.MY, ref.MY, 1e-10 * size * 300);
}

// The program's triangles against the reference's polygons: both cuts of the pentagon integrate
// each code law exactly under planes that put its corners in tension, on the parabola and on
// the plateau (steel: both yielded and elastic); the tangent is the derivative of the forces.
TEST(CodeReference, TrianglesIntegrateTheLawsExactly) {
    const TriangleArrays cuts[2] = {pentagonCut(false), pentagonCut(true)};
    std::mt19937 rng(37);
    std::uniform_real_distribution<double> u(-1, 1);
    const double fy = 355;
    const TriangleLaw steel{TriangleLaw::Kind::Steel, fy, fy / 200000, 2, 200000};
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        const double plane[3] = {0.0015 + 0.002 * u(rng), 1.2e-5 * u(rng), 1.2e-5 * u(rng)};
        for (const double fck : {30.0, 55.0, 90.0}) {
            SCOPED_TRACE(fck);
            const CodeConcreteLaw c = ec2Law(fck);
            const TriangleLaw law{TriangleLaw::Kind::Concrete, c.fcd, c.epsC2, c.n, 0};
            const Forces ref = parabolaRectangleForces(PENTAGON, {plane[0], plane[1], plane[2]},
                                                       c.fcd, c.epsC2, c.n);
            for (int k = 0; k < 2; ++k)
                expectForces(over(cuts[k], k == 0, plane, law, false), ref,
                             std::fabs(ref.N) + c.fcd * 1e3);
        }
        const double s[3] = {plane[0] - 0.0015, plane[1] / 3, plane[2] / 3};
        for (int k = 0; k < 2; ++k)
            expectForces(over(cuts[k], k == 0, s, steel, false),
                         steelReference({s[0], s[1], s[2]}, fy), fy * 1e5);
        for (const bool isSteel : {false, true})
            expectTangentOfForces(
                cuts[1], isSteel ? s : plane,
                isSteel ? steel : TriangleLaw{TriangleLaw::Kind::Concrete, 30, 0.00225, 1.75, 0});
    }
}

// Triangles where exact integration is most fragile, against the reference: corner strains a
// hair apart or a hair either side of a breakpoint (zero, epsC2), and slivers, under grades of
// integer and non-integer exponent (a fixed seed).
TEST(CodeReference, TrianglesNearTheLawsBreakpointsAndSlivers) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int trial = 0; trial < 400; ++trial) {
        SCOPED_TRACE(trial);
        const CodeConcreteLaw c = ec2Law(trial % 2 == 0 ? 30.0 : 70.0);
        // Corners within 300 mm; every fourth a sliver, its third corner near the first edge.
        Polygon tri{{300 * u(rng), 300 * u(rng)}, {300 * u(rng), 300 * u(rng)}, {}};
        const double w = trial % 4 == 0 ? 1e-6 * u(rng) : u(rng);
        tri[2] = {0.5 * (tri[0].x + tri[1].x) + 300 * w,
                  0.5 * (tri[0].y + tri[1].y) + 300 * u(rng)};
        if ((tri[1].x - tri[0].x) * (tri[2].y - tri[0].y) -
                (tri[2].x - tri[0].x) * (tri[1].y - tri[0].y) <
            0)
            std::swap(tri[1], tri[2]);
        // A breakpoint (or a strain between them), the corners' strains spread by a spread
        // from 1e-3 down to 1e-15 of epsC2 about it.
        const double at[3] = {0.0, c.epsC2, 0.5 * c.epsC2};
        const double spread = c.epsC2 * std::pow(10.0, -3.0 - 12.0 * (trial % 7) / 6.0);
        const double gx = spread / 600 * u(rng), gy = spread / 600 * u(rng);
        const double plane[3] = {at[trial % 3] + spread * u(rng), gx, gy};
        const TriangleLaw law{TriangleLaw::Kind::Concrete, c.fcd, c.epsC2, c.n, 0};
        const double corners[6] = {tri[0].x, tri[0].y, tri[1].x, tri[1].y, tri[2].x, tri[2].y};
        const TriangleIntegral t = integrateTriangle(corners, plane, law, false);
        const Forces ref =
            parabolaRectangleForces(tri, {plane[0], plane[1], plane[2]}, c.fcd, c.epsC2, c.n);
        const double area = 0.5 * std::fabs((tri[1].x - tri[0].x) * (tri[2].y - tri[0].y) -
                                            (tri[2].x - tri[0].x) * (tri[1].y - tri[0].y));
        const double size = c.fcd * area + 1e-9;
        EXPECT_NEAR(t.N, ref.N, 1e-9 * size);
        EXPECT_NEAR(t.MX, ref.MX, 1e-9 * size * 300);
        EXPECT_NEAR(t.MY, ref.MY, 1e-9 * size * 300);
    }
}

// The laws from the codes' formulas by hand, and the program's grade tables beside them.
TEST(CodeReference, LawsOfTheGradesByHand) {
    const CodeConcreteLaw c60 = ec2LawOf(60, 1.0);
    EXPECT_NEAR(c60.n, 1.4 + 23.4 * 0.0081, 1e-12);
    EXPECT_NEAR(c60.epsCu2, (2.6 + 35 * 0.0081) / 1000, 1e-12);
    EXPECT_NEAR(c60.epsC2, (2.0 + 0.085 * std::pow(10.0, 0.53)) / 1000, 1e-12);
    EXPECT_NEAR(ec2LawOf(30, 0.85).fcd, 17, 1e-12);
    for (const auto& [fc, beta1] : {std::pair{20.0, 0.85},
                                    {28.0, 0.85},
                                    {35.0, 0.80},
                                    {50.0, 0.85 - 0.05 * 22 / 7},
                                    {80.0, 0.65}})
        EXPECT_NEAR(aciLawOf(fc).beta1, beta1, 1e-12) << fc;
    for (const double fck : {12.0, 30.0, 55.0, 70.0, 90.0}) {
        const CodeConcrete p = ec2Concrete(fck);
        const CodeConcreteLaw r = ec2LawOf(fck, 1.0);
        EXPECT_NEAR(p.n, r.n, 1e-12);
        EXPECT_NEAR(p.epsC2, r.epsC2, 1e-15);
        EXPECT_NEAR(p.epsCu2, r.epsCu2, 1e-15);
        EXPECT_NEAR(aciBeta1(fck), aciLawOf(fck).beta1, 1e-12);
    }
    // sigma = E eps over the 300 x 500 rectangle: E a1 A and E a3 b h^3 / 12.
    const Polygon rect{{-150, -250}, {150, -250}, {150, 250}, {-150, 250}};
    const Forces f = linearForces(rect, {1e-3, 0, 2e-6}, 200000);
    EXPECT_NEAR(f.N, 200 * 150000, 1e-6);
    EXPECT_NEAR(f.MY, 200000 * 2e-6 * 300 * std::pow(500.0, 3) / 12, 1e-3);
    EXPECT_NEAR(f.MX, 0, 1e-3);
}

// The beam as a document under a code: 300 x 500, four bars of 20 (3.14 d^2 / 4 each).
SectionModel beamModel(CodeId code, const std::string& concrete, const std::string& rebar) {
    SectionModel m;
    SectionDocument& d = m.document;
    d.CONC_PT = {{0, 0}, {300, 0}, {300, 500}, {0, 500}, {0, 0}};
    d.NCONC_PT = 4;
    d.CONC_CX = 150;
    d.CONC_CY = 250;
    d.BAR.assign(5, TBAR{});
    d.NBAR = 4;
    d.BAR[1] = {50, 50, 20};
    d.BAR[2] = {250, 50, 20};
    d.BAR[3] = {250, 450, 20};
    d.BAR[4] = {50, 450, 20};
    const CodeGradeTables t = codeGradeTables(code);
    d.CODE = code;
    d.CONC_MAT = t.concrete;
    d.COVER_MAT = t.cover;
    d.STEEL_MAT = t.steel;
    for (std::size_t i = 1; i < t.concrete.size(); ++i)
        if (t.concrete[i].NAME == concrete) d.USE_CONC = static_cast<int>(i) - 1;
    for (std::size_t i = 1; i < t.steel.size(); ++i)
        if (t.steel[i].NAME == rebar) d.USE_REBAR = d.USE_STEEL = static_cast<int>(i) - 1;
    return m;
}

// The search on the neutral axis finds the hand-calculated states again, and the ends and the
// cap come out as the hand figures.
TEST(CodeReference, SectionSearchMeetsTheHandFigures) {
    const double As = 314, fyd = 500 / 1.15;
    const CodeReference ec2(beamModel(CodeId::Ec2, "C30/37", "B500B"));
    // The balanced point of the hand calculation above, with bars of 314 mm2.
    const double c = 0.0035 * 450 / (0.0035 + fyd / 200000), z2 = c * 0.002 / 0.0035;
    const double C1 = 2.0 / 3 * 20 * 300 * z2, C2 = 20 * 300 * (c - z2);
    const double N = C1 + C2 + 2 * As * (fyd - 20) - 2 * As * fyd;
    const double M = C1 * (250 - c + 5.0 / 8 * z2) + C2 * (250 - (c - z2) / 2) +
                     2 * As * (fyd - 20) * 200 + 2 * As * fyd * 200;
    CodeReference::OnRay r = ec2.along(N / 1e3, 0, M / 1e6);
    EXPECT_NEAR(r.factor, 1, 1e-9);
    EXPECT_NEAR(r.plane[0] + 250 * r.plane[2], 0.0035, 1e-9);  // the top face at epsCu2
    EXPECT_LT(r.angleError, 1e-9);
    // Wholly compressed: the pivot holds the strain at epsC2, the bars at 400 N/mm2.
    EXPECT_NEAR(ec2.along(1000, 0, 0).factor, (20 * (150000 - 4 * As) + 400 * 4 * As) / 1e6, 1e-9);
    EXPECT_NEAR(ec2.along(-1000, 0, 0).factor, 4 * As * fyd / 1e6, 1e-9);
    // A skew ray: the state found lies on the ray, its top corner at epsCu2.
    r = ec2.along(800, 60, 150);
    EXPECT_LT(r.angleError, 1e-9);
    const Forces f = ec2.forces(r.plane);
    EXPECT_NEAR(f.N / 1e3, 800 * r.factor, 1e-6 * f.N);
    double top = 0;
    for (const double x : {-150.0, 150.0})
        for (const double y : {-250.0, 250.0})
            top = std::max(top, r.plane[0] + x * r.plane[1] + y * r.plane[2]);
    EXPECT_NEAR(top, 0.0035, 1e-12);

    // ACI 318-19: the cap 0.65 x 0.80 P0 in pure compression, 0.90 fy As in pure tension.
    const CodeReference aci(beamModel(CodeId::Aci318, "FC28", "GR420"));
    const double P0 = 0.85 * 28 * (150000 - 4 * As) + 420 * 4 * As;
    EXPECT_NEAR(aci.P0(), P0, 1e-6);
    double err = 0;
    EXPECT_NEAR(aci.designLoadFraction(1000, 0, 0, err), 0.65 * 0.8 * P0 / 1e6, 1e-9);
    EXPECT_NEAR(aci.designLoadFraction(-1000, 0, 0, err), 0.9 * 4 * As * 420 / 1e6, 1e-9);
    // The balanced point: phi 0.65, design = 0.65 nominal along the same ray.
    const double cb = 0.003 * 450 / (0.003 + 420.0 / 200000), a = 0.85 * cb, Cc = 23.8 * 300 * a;
    const double Nb = Cc + 2 * As * (420 - 23.8) - 2 * As * 420;
    const double Mb = Cc * (250 - a / 2) + 2 * As * (420 - 23.8) * 200 + 2 * As * 420 * 200;
    EXPECT_NEAR(aci.designLoadFraction(Nb / 1e3, 0, Mb / 1e6, err), 0.65, 1e-9);
    r = aci.along(Nb / 1e3, 0, Mb / 1e6);
    EXPECT_NEAR(aci.phi(r.plane), 0.65, 1e-9);
}

// The limit: the top corner at epsCu2 while the axis cuts the section, the pivot beyond (epsC2 at
// (1 - epsC2/epsCu2) h below the top, h = 500 here), continuous where the axis leaves it; and the
// spiral column's factors.
TEST(CodeReference, PivotAndSpiralByHand) {
    const CodeReference ec2(beamModel(CodeId::Ec2, "C30/37", "B500B"));
    const double pi = std::acos(-1.0), z = (1 - 2.0 / 3.5) * 500;
    auto strain = [](const Plane& a, double y) { return a[0] + a[2] * y; };
    for (const auto& [c, top] : {std::pair{400.0, 0.0035},
                                 {500.0, 0.0035},
                                 {600.0, 0.002 * 600 / (600 - z)},
                                 {1e7, 0.002 * 1e7 / (1e7 - z)}}) {
        const Plane a = ec2.limitPlane(pi / 2, c);
        EXPECT_NEAR(strain(a, 250), top, 1e-12) << c;
        EXPECT_NEAR(strain(a, 250 - c), 0, 1e-12) << c;
        if (c > 500) EXPECT_NEAR(strain(a, 250 - z), 0.002, 1e-12) << c;
    }
    // No concrete compressed: the most stretched corner at -0.005, the top c above the zero line.
    const Plane t = ec2.tensionPlane(pi / 2, 250);
    EXPECT_NEAR(strain(t, -250), -0.005, 1e-15);
    EXPECT_NEAR(strain(t, 250), -0.005 * 250 / 750, 1e-15);
    SectionModel m = beamModel(CodeId::Aci318, "FC40", "GR420");
    m.document.TIES = Ties::Spiral;
    const CodeReference aci(m);
    const double As = 314, P0 = 0.85 * 40 * (150000 - 4 * As) + 420 * 4 * As;
    double err = 0;
    EXPECT_NEAR(aci.designLoadFraction(1000, 0, 0, err), 0.75 * 0.85 * P0 / 1e6, 1e-9);
    // Pure bending: the bottom bars far beyond yield, phi 0.90 as in tension.
    const CodeReference::OnRay r = aci.along(0, 0, 100);
    EXPECT_NEAR(aci.phi(r.plane), 0.90, 1e-12);
    EXPECT_NEAR(aci.designLoadFraction(0, 0, 100, err), 0.90 * r.factor, 1e-12);
    // Tension-controlled with no concrete compressed, whatever the bars' strain.
    EXPECT_EQ(aci.phi(aci.tensionPlane(pi / 2, 0)), 0.90);
}

}  // namespace
}  // namespace qav::validation
