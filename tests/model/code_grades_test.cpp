#include "model/code_grades.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

using namespace qav;

TEST(CodeGrades, Ec2DesignValuesByHand) {
    struct Row {
        const char* name;
        int slot;
        double fcd, epsC2, epsCu2, n, Ecm;
    };
    // fcd = fck / 1.5; above C50/60: epsC2 = 2.0 + 0.085 (fck - 50)^0.53, epsCu2 = 2.6 + 35 r^4,
    // n = 1.4 + 23.4 r^4 (per mille, r = (90 - fck) / 100); Ecm = 22 ((fck + 8) / 10)^0.3 GPa.
    const Row rows[] = {{"C30/37", 5, 20.0, 2.0e-3, 3.5e-3, 2.0, 32836.568},
                        {"C55/67", 10, 36.66667, 2.199468e-3, 3.125219e-3, 1.751146, 38214.206},
                        {"C90/105", 14, 60.0, 2.600497e-3, 2.6e-3, 1.4, 43630.532}};
    const CodeGradeTables t = codeGradeTables(CodeId::Ec2);
    ASSERT_EQ(t.concrete.size(), 15u);
    for (const Row& r : rows) {
        const TMAT& c = t.concrete[static_cast<std::size_t>(r.slot)];
        const CodeConcrete& law = t.law[static_cast<std::size_t>(r.slot)];
        EXPECT_EQ(c.NAME, r.name);
        EXPECT_EQ(t.cover[static_cast<std::size_t>(r.slot)].NAME, std::string(r.name) + "_Cover");
        EXPECT_NEAR(c.FC, r.fcd, 1e-5) << r.name;
        EXPECT_NEAR(c.EPS_0, r.epsC2, 1e-9) << r.name;
        EXPECT_NEAR(c.EPS_CU, r.epsCu2, 1e-9) << r.name;
        EXPECT_NEAR(law.n, r.n, 1e-6) << r.name;
        EXPECT_NEAR(c.EC, r.Ecm, 1e-3) << r.name;
    }
    // The code's own rounded table: 2.2, 3.1, 1.75 at C55/67; 2.6, 2.6, 1.4 at C90/105.
    EXPECT_NEAR(t.law[10].epsC2, 2.2e-3, 0.05e-3);
    EXPECT_NEAR(t.law[10].epsCu2, 3.1e-3, 0.05e-3);
    EXPECT_NEAR(ec2Concrete(30, 0.85).fcd, 17.0, 1e-12);
}

TEST(CodeGrades, AciBeta1AndTheGradeRecords) {
    const std::pair<double, double> beta[] = {{20, 0.85}, {28, 0.85}, {35, 0.80},
                                              {42, 0.75}, {56, 0.65}, {70, 0.65}};
    for (const auto& [fc, b] : beta) EXPECT_NEAR(aciBeta1(fc), b, 1e-12) << fc;
    const CodeGradeTables ec2 = codeGradeTables(CodeId::Ec2), aci = codeGradeTables(CodeId::Aci318);
    EXPECT_EQ(ec2.steel.size(), 6u);
    EXPECT_EQ(aci.steel.size(), 5u);
    EXPECT_EQ(aci.concrete.size(), 11u);
    struct Row {
        const TMAT& t;
        const char* name;
        double value, expected;  // FY1 of steel; EC, FC, EPS_0 of FC28
    };
    const TMAT& fc28 = aci.concrete[3];
    for (const Row& r :
         {Row{ec2.steel[1], "B500B", ec2.steel[1].FY1, 500 / 1.15},
          Row{ec2.steel[5], "S355", ec2.steel[5].FY1, 355},
          Row{aci.steel[1], "GR420", aci.steel[1].FY1, 420},
          Row{aci.steel[4], "A992", aci.steel[4].FY1, 345},
          Row{fc28, "FC28", fc28.EC, 4700 * std::sqrt(28.0)}, Row{fc28, "FC28", fc28.FC, 0.85 * 28},
          Row{fc28, "FC28", fc28.EPS_0, 2 * 0.85 * 28 / (4700 * std::sqrt(28.0))},
          Row{aci.cover[3], "FC28_Cover", aci.cover[3].EPS_CU, 0.003}}) {
        EXPECT_EQ(r.t.NAME, r.name);
        EXPECT_NEAR(r.value, r.expected, 1e-9 * r.expected) << r.name;
    }
    EXPECT_TRUE(codeGradeTables(CodeId::HkCop2013).concrete.empty());
}

TEST(CodeGrades, StrengthsComparedLikeWithLike) {
    // Cube 40 lies 3/8 of the way from C30/37 to C35/45: cylinder 31.875, and back; outside the
    // table the ratio of its last pair.
    EXPECT_DOUBLE_EQ(cylinderToCube(cubeToCylinder(40)), 40);
    EXPECT_DOUBLE_EQ(cylinderToCube(100), 350.0 / 3);
    const CodeGradeTables ec2 = codeGradeTables(CodeId::Ec2);
    const auto cube = [](const TMAT& t) {
        return concreteStrength(CodeId::Ec2, t, StrengthMeasure::Cube);
    };
    EXPECT_EQ(strongestNotAbove(ec2.concrete, 1, 14, 40, cube), 5);  // C30/37
    EXPECT_EQ(weakestAbove(ec2.concrete, 1, 14, 40, cube), 6);       // C35/45
    EXPECT_EQ(strongestNotAbove(ec2.concrete, 1, 14, 15, cube), 1);  // equal is not above
    EXPECT_EQ(strongestNotAbove(ec2.concrete, 1, 14, 14, cube), 0);
    EXPECT_TRUE(codeHasGrade(CodeId::Bs8110, GradeKind::Steel, "S355"));
    EXPECT_FALSE(codeHasGrade(CodeId::Aci318, GradeKind::Concrete, "C40"));
}
