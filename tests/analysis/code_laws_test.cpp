#include "analysis/code_laws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/material_laws.h"

using namespace qav;

TEST(CodeLaws, ParabolaRectangleWithExponentTwoIsTheProgramsParabola) {
    for (double eps = -0.001; eps <= 0.006; eps += 0.00013) {
        double ss = -1;
        CONCRETE01(20.0, 0.002, eps, ss);
        EXPECT_EQ(parabolaRectangle(20.0, 0.002, 2.0, eps).stress, ss) << eps;
    }
    // The tangent is the slope, for any exponent.
    for (const double n : {2.0, 1.75, 1.4})
        for (const double eps : {0.0003, 0.0011, 0.0019}) {
            const double h = 1e-8;
            const double slope = (parabolaRectangle(36.7, 0.0022, n, eps + h).stress -
                                  parabolaRectangle(36.7, 0.0022, n, eps - h).stress) /
                                 (2 * h);
            EXPECT_NEAR(parabolaRectangle(36.7, 0.0022, n, eps).tangent, slope, 1e-4 * slope);
        }
    EXPECT_EQ(parabolaRectangle(60, 0.0026, 1.4, 0.0026).stress, 60);
    EXPECT_EQ(parabolaRectangle(60, 0.0026, 1.4, 0.003).tangent, 0);
}

TEST(CodeLaws, PhiCapAndMinimumEccentricityByHand) {
    const double ety = 420.0 / 200000.0;
    struct Row {
        double epsT, tied, spiral;
    };
    for (const Row& r : {Row{ety, 0.65, 0.75}, Row{ety + 0.0015, 0.775, 0.825},
                         Row{ety + 0.003, 0.90, 0.90}, Row{-0.001, 0.65, 0.75}}) {
        EXPECT_NEAR(aciPhi(r.epsT, ety, Ties::Tied), r.tied, 1e-12) << r.epsT;
        EXPECT_NEAR(aciPhi(r.epsT, ety, Ties::Spiral), r.spiral, 1e-12) << r.epsT;
    }
    // 400 x 400, FC28, 8 bars of 25 (3927 mm2), GR420.
    const double P0 = aciP0(28, 160000, 3927, 420);
    EXPECT_NEAR(P0, 0.85 * 28 * (160000 - 3927) + 420 * 3927, 1e-6);
    EXPECT_NEAR(aciPnMax(P0, Ties::Tied), 0.80 * P0, 1e-6);
    EXPECT_NEAR(aciPnMax(P0, Ties::Spiral), 0.85 * P0, 1e-6);
    struct Ecc {
        CodeId code;
        double h, e;
    };
    for (const Ecc& c :
         {Ecc{CodeId::HkCop2013, 300, 15}, Ecc{CodeId::Bs8110, 600, 20}, Ecc{CodeId::Ec2, 300, 20},
          Ecc{CodeId::Ec2, 900, 30}, Ecc{CodeId::Aci318, 500, 30}})
        EXPECT_NEAR(designCode(c.code).minimumEccentricity(c.h), c.e, 1e-12) << c.h;
}

// Fixed-seed random triangles and planes: the exact block equals its sum over the triangle cut
// into many slices, and its derivative is the slope of the forces.
TEST(CodeLaws, BlockOnTriangleIsAdditiveAndDifferentiable) {
    std::mt19937 rng(25);
    std::uniform_real_distribution<double> coord(-300, 300), slope(-2e-5, 2e-5);
    const double epsCu = 0.003, beta1 = 0.8, fc = 35;
    auto block = [&](const std::array<Point2, 3>& t, const std::array<double, 3>& plane) {
        const BlockForces f = blockForceOnTriangle(t, plane, epsCu, beta1, fc);
        return std::array<double, 3>{f.N, f.MX, f.MY};
    };
    for (int trial = 0; trial < 40; ++trial) {
        const std::array<Point2, 3> t{Point2{coord(rng), coord(rng)},
                                      Point2{coord(rng), coord(rng)},
                                      Point2{coord(rng), coord(rng)}};
        const std::array<double, 3> plane{blockEdgeStrain(epsCu, beta1) + 90 * slope(rng),
                                          slope(rng), slope(rng)};
        std::array<std::array<double, 3>, 3> d{};
        blockForceOnTriangle(t, plane, epsCu, beta1, fc, &d);
        const auto whole = block(t, plane);
        std::array<double, 3> sum{0, 0, 0};
        const int n = 500;
        auto onBC = [&](int k) {
            const double u = static_cast<double>(k) / n;
            return Point2{t[1].x + u * (t[2].x - t[1].x), t[1].y + u * (t[2].y - t[1].y)};
        };
        for (int k = 0; k < n; ++k) {
            const auto f = block({t[0], onBC(k), onBC(k + 1)}, plane);
            for (int r = 0; r < 3; ++r) sum[r] += f[r];
        }
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(sum[r], whole[r], 1e-9 * (std::fabs(whole[0]) + 1) * 600) << trial;
        for (std::size_t j = 0; j < 3; ++j) {
            const double h = j == 0 ? 1e-9 : 1e-11;
            auto p = plane, m = plane;
            p[j] += h, m[j] -= h;
            const auto fp = block(t, p), fm = block(t, m);
            for (std::size_t r = 0; r < 3; ++r)
                EXPECT_NEAR((fp[r] - fm[r]) / (2 * h), d[r][j], 1e-4 * std::fabs(d[r][j]) + 1e-3)
                    << trial << " " << r << j;
        }
    }
}

TEST(CodeLaws, PivotLimitOnARectangleByHand) {
    // 300 x 500, C30/37: epsCu2 3.5 per mille, epsC2 2.0; the pivot 0.4286 h below the top.
    std::vector<LimitPoint> corners;
    for (const double x : {-150.0, 150.0})
        for (const double y : {-250.0, 250.0}) corners.push_back({x, y, 0.0035, 0.002});
    struct Case {
        std::array<double, 3> plane;
        LimitKind kind;
        double factor;
    };
    const Case cases[] = {
        {{0, 0, 1e-5}, LimitKind::Crushing, 1.4},  // top 2.5, bottom -2.5 per mille
        {{0.001, 0, 0}, LimitKind::Pivot, 2.0},    // uniform: 2.0 everywhere
        {{0.002, 0, 4e-6}, LimitKind::Pivot, 0.002 / (0.003 - 0.002 * 1.5 / 3.5)},
        {{-0.001, 0, 0}, LimitKind::Tension, 5.0},  // most stretched to -0.005
    };
    for (const Case& c : cases) {
        const Limit lim = codeLimitScale(corners, c.plane, 0.005);
        EXPECT_EQ(lim.kind, c.kind) << c.factor;
        EXPECT_NEAR(lim.factor, c.factor, 1e-9 * c.factor) << c.factor;
        const double held =
            lim.row[0] * c.plane[0] + lim.row[1] * c.plane[1] + lim.row[2] * c.plane[2];
        EXPECT_NEAR(held * lim.factor, lim.target, 1e-12);
    }
    // Without an epsC2 (ACI 318, the HK-COP and BS rule) a wholly compressed section crushes.
    for (LimitPoint& p : corners) p.epsCu = 0.003, p.epsC2 = 0;
    const Limit aci = codeLimitScale(corners, {0.001, 0, 0}, 0.005);
    EXPECT_EQ(aci.kind, LimitKind::Crushing);
    EXPECT_NEAR(aci.factor, 3.0, 1e-12);
    EXPECT_FALSE(codeLimitScale({}, {0.001, 0, 0}, 0.005).ok());
}
