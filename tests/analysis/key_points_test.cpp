// Key points of the P-M curve on a hand-built column, each against a sum over the fibres done
// here with the plane the definition gives.
#include "analysis/key_points.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "hand_section.h"
#include "model/errors.h"

namespace qav {
namespace {

using test::handRectangle;
using test::symmetricColumn;

// Axial force (kN) and moment about X (MY pairing, kNm) of the fibres at the strain
// eps(Y) = top - kappa (300 - Y): the plane of a moment angle of 0 on the 600 deep column.
struct Sum {
    double P = 0, M = 0;
};
Sum sumAt(const SectionModel& m, double kappa) {
    Sum s;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        const double eps = 0.005 - kappa * (300 - f.Y);
        double sig = 0;
        if (f.TY == FIB_REBAR)
            STEEL01(200000, f.FY1, eps, sig);
        else
            CONCRETE01(f.FC, f.EPS_0, eps, sig);
        s.P += sig * f.AREA / 1e3;
        s.M += sig * f.AREA * f.Y / 1e6;
    }
    return s;
}

const KeyPoint& find(const std::vector<KeyPoint>& k, KeyPointKind kind, int branch) {
    for (const KeyPoint& p : k)
        if (p.kind == kind && p.branch == branch) return p;
    throw std::runtime_error("missing key point");
}

TEST(KeyPoints, EachPointOfTheSymmetricColumnMatchesItsDirectSum) {
    const SectionModel m = handRectangle(symmetricColumn());
    NullMessages msgs;
    const auto k = PM_KEY_POINTS(m, 0, msgs);
    ASSERT_EQ(k.size(), 8u);
    const double concrete = 400 * 600 * 26.8 / 1e3, steel = 8 * 3.14 * 25 * 25 / 4 * 435 / 1e3;

    const KeyPoint& pc = find(k, KeyPointKind::PureCompression, 0);
    ASSERT_TRUE(pc.exists);
    EXPECT_NEAR(pc.P, concrete + steel, 1e-6 * (concrete + steel));
    EXPECT_NEAR(pc.M, 0, 1e-3);
    EXPECT_FALSE(pc.axis.exists);
    const KeyPoint& pt = find(k, KeyPointKind::PureTension, 0);
    ASSERT_TRUE(pt.exists);
    EXPECT_NEAR(pt.P, -steel, 1e-6 * steel);

    struct Case {
        KeyPointKind kind;
        double kappa;  // the definition's curvature, 0 when solved for here
        double depth;
    };
    const double ey = 435.0 / 200000;
    // Pure bending: the depth of zero axial force, halved for here on the direct sum.
    double lo = 0, hi = 1;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (sumAt(m, mid).P > 0 ? lo : hi) = mid;
    }
    const Case cases[] = {
        {KeyPointKind::Decompression, 0.005 / 600, 600},
        {KeyPointKind::Balanced, (0.005 + ey) / 550, 0.005 / ((0.005 + ey) / 550)},
        {KeyPointKind::PureBending, lo, 0.005 / lo}};
    for (const Case& c : cases) {
        const Sum s = sumAt(m, c.kappa);
        for (const int branch : {1, -1}) {
            const KeyPoint& p = find(k, c.kind, branch);
            ASSERT_TRUE(p.exists) << p.label;
            EXPECT_NEAR(p.P, s.P, 1e-6 * std::fabs(concrete)) << p.label;
            // The branch of the angle + 180 mirrors the column.
            EXPECT_NEAR(p.M, branch * s.M, 1e-6 * std::fabs(s.M)) << p.label;
            EXPECT_NEAR(p.MX, 0, 1e-6 * std::fabs(s.M)) << p.label;
            ASSERT_TRUE(p.axis.exists) << p.label;
            EXPECT_NEAR(p.axis.depth, c.depth, 1e-6 * c.depth) << p.label;
        }
    }
    // The balanced plane puts the most tensile bars at the yield strain.
    const KeyPoint& b = find(k, KeyPointKind::Balanced, 1);
    EXPECT_NEAR(b.plane.at(150, -250), -ey, 1e-12);
    EXPECT_NEAR(find(k, KeyPointKind::Balanced, -1).plane.at(-150, 250), -ey, 1e-12);
    EXPECT_LT(std::fabs(find(k, KeyPointKind::PureBending, 1).P), 1e-6);
    EXPECT_LT(std::fabs(find(k, KeyPointKind::PureBending, -1).P), 1e-6);
    // Decompression: the limit strain on top, zero strain at the bottom corners.
    const KeyPoint& d = find(k, KeyPointKind::Decompression, 1);
    EXPECT_NEAR(d.plane.at(-200, 300), 0.005, 1e-15);
    EXPECT_NEAR(d.plane.at(200, -300), 0, 1e-15);
}

TEST(KeyPoints, AtAnAngleTheMomentPointsAlongIt) {
    // Bars off the diagonals make the neutral axis turn away from square to the angle.
    test::HandColumn h = symmetricColumn();
    h.bars.push_back({0, 250, 32});
    const SectionModel m = handRectangle(h);
    NullMessages msgs;
    for (const double angle : {30.0, -45.0, 120.0}) {
        for (const KeyPoint& p : PM_KEY_POINTS(m, angle, msgs)) {
            if (p.branch == 0) continue;
            ASSERT_TRUE(p.exists) << angle << " " << p.label;
            const double theta = (p.branch > 0 ? angle : angle + 180) * std::acos(-1.0) / 180;
            const double along = p.MX * std::sin(theta) + p.MY * std::cos(theta);
            const double across = p.MX * std::cos(theta) - p.MY * std::sin(theta);
            EXPECT_GT(along, 0) << angle << " " << p.label;
            EXPECT_LT(std::fabs(across), 1e-6 * along) << angle << " " << p.label;
            EXPECT_NEAR(p.M, p.branch * along, 1e-9 * along) << angle << " " << p.label;
            // Every state has the limit strain at its most compressed corner.
            double top = -1;
            for (int j = 1; j <= m.mesh.NCFIB; ++j)
                top = std::max(top, p.plane.at(m.mesh.CFIB[j].X, m.mesh.CFIB[j].Y));
            EXPECT_NEAR(top, 0.005, 1e-12) << p.label;
        }
    }
}

TEST(KeyPoints, PointsAPlainConcreteSectionCannotHaveSayWhy) {
    test::HandColumn h;  // no bars
    const SectionModel m = handRectangle(h);
    NullMessages msgs;
    const auto k = PM_KEY_POINTS(m, 0, msgs);
    int missing = 0;
    for (const KeyPoint& p : k) {
        const bool needsTension = p.kind == KeyPointKind::PureTension ||
                                  p.kind == KeyPointKind::Balanced ||
                                  p.kind == KeyPointKind::PureBending;
        EXPECT_EQ(p.exists, !needsTension) << p.label;
        if (!p.exists) {
            ++missing;
            EXPECT_NE(p.missing.find("does not exist"), std::string::npos) << p.label;
        }
    }
    EXPECT_EQ(missing, 5);
    const auto text = keyPointsText(k, 0);
    ASSERT_EQ(text.size(), 3 + k.size());
    EXPECT_EQ(text[1], "Key Points (Moment angle = 0, control strain 0.005)");
    EXPECT_EQ(keyPointsText(k, 22.5)[1], "Key Points (Moment angle = 22.5, control strain 0.005)");
    EXPECT_EQ(text[4].rfind("Pure tension            does not exist", 0), 0u) << text[4];
    SectionModel empty;
    EXPECT_THROW(PM_KEY_POINTS(empty, 0, msgs), InputError);
}

TEST(KeyPoints, LieOnTheCurveTheSolverDraws) {
    // The solver's own curve passes through each key point: its load fraction along the point's
    // ray is 1 within the solver's tolerance.
    test::HandColumn h = symmetricColumn();
    const SectionModel m = handRectangle(h);
    NullMessages msgs;
    SectionSolver solver(m, msgs);
    for (const KeyPoint& p : PM_KEY_POINTS(m, 0, msgs)) {
        if (p.kind == KeyPointKind::PureBending) continue;  // a ray without axial force: below
        const SolveResult r = solver.loadFraction(p.P, p.MX, p.MY, 0, 0, 0, 1);
        EXPECT_NEAR(r.loadFraction, 1, 2e-3) << p.label;
    }
}

}  // namespace
}  // namespace qav
