#include "builders/steel_section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "builder_test_support.h"
#include "builders/typical_section.h"
#include "model/errors.h"

using namespace qav;
using qav::test::expectPoint;

namespace {
BoxTexts textsFor(int shape, const std::map<std::string, std::string>& set = {}) {
    BoxTexts t = steelDialogTexts();
    steelShapeChange(t, shape);
    for (const auto& [k, v] : set) t[k] = v;
    return t;
}
}  // namespace

TEST(SteelSection, ShapesHaveTheirCornersAndShoelaceAreas) {
    struct Case {
        const char* name;
        int shape;
        std::map<std::string, std::string> set;
        int corners;
        double area;  // |shoelace|, 0 = not checked
        int slot;
        double x, y;
    };
    const Case cases[] = {
        {"rectangle B along y", 0, {{"KEdit1", "300"}, {"KEdit2", "500"}}, 8, 150000, 2, 250, -150},
        {"hollow rectangle", 1, {}, 10, 110000, 5, -200, -300},
        {"circle", 2, {}, 24, 0, 6, 0, 400},
        {"I with web T thick", 3, {{"KEdit4", "10"}}, 12, 2 * 500 * 50 + 50 * 600, 3, 25, -300},
        {"T", 4, {}, 8, 500 * 50 + 50 * 650, 2, 25, 300},
        {"channel", 5, {}, 8, 2 * 500 * 50 + 50 * 600, 3, -200, -300},
        {"angle", 6, {}, 6, 500 * 50 + 50 * 650, 4, -200, 350},
        {"cross", 7, {}, 12, 700 * 50 + 450 * 50, 3, 250, -25},
        {"tube", 8, {}, 50, 147526.9, 25, -450, 0},
        {"general I", 9, {}, 12, 2 * 800 * 40 + 40 * 920, 4, 20, 460},
    };
    for (const Case& c : cases) {
        SectionModel m;
        buildSteelSection(m, c.shape, textsFor(c.shape, c.set));
        ASSERT_EQ(m.document.NSTEEL_SEC, 1) << c.name;
        const TPOLYSHAPE& s = m.document.STEEL_SEC[1];
        EXPECT_EQ(s.NPOINT, c.corners) << c.name;
        EXPECT_EQ(s.PT.size(), static_cast<std::size_t>(c.corners + 1)) << c.name;
        if (c.area > 0) {
            EXPECT_NEAR(std::fabs(test::area(s.PT, s.NPOINT)), c.area, 0.05) << c.name;
        }
        EXPECT_GT(s.GAREA, 0) << c.name << ": areas are stored positive";
        expectPoint(s.PT[c.slot], c.x, c.y, c.name);
    }
}

TEST(SteelSection, TubeRunsRoundOutsideThenInsideWithItsCut) {
    SectionModel m;
    buildSteelSection(m, 8, textsFor(8));
    const TPOLYSHAPE& s = m.document.STEEL_SEC[1];
    expectPoint(s.PT[0], -500, 0, "outer start");
    expectPoint(s.PT[24], -500, 0, "outer end");
    expectPoint(s.PT[25], -450, 0, "inner start");
    expectPoint(s.PT[49], -450, 0, "inner end");
    expectPoint(s.PT[31], -450 * std::cos(M_PI / 2), 450,
                "inner runs clockwise: 90 degrees at slot 31");
}

TEST(SteelSection, KeepsTheConcreteAndReplacesEarlierSteel) {
    SectionModel m;
    BoxTexts concrete = typicalDialogTexts();
    typicalShapeChange(concrete, 0);
    buildTypicalSection(m, 0, concrete);
    buildSteelSection(m, 3, textsFor(3));
    buildSteelSection(m, 0, textsFor(0));
    EXPECT_EQ(m.document.NSTEEL_SEC, 1);
    EXPECT_EQ(m.document.STEEL_SEC[1].NPOINT, 8);
    EXPECT_EQ(m.document.NCONC_PT, 8);
    EXPECT_EQ(m.document.NCOVER_PT, 8);
    EXPECT_EQ(m.document.NBAR, 12);
    EXPECT_NEAR(m.document.ZONE_XMAX, 400, 1e-9) << "the zone follows the concrete";
}

TEST(SteelSection, RefusesBadInputWithoutChangingTheSteel) {
    struct Case {
        const char* name;
        int shape;
        std::map<std::string, std::string> set;
        const char* message;
    };
    const Case cases[] = {
        {"not a number",
         3,
         {{"KEdit3", "5O"}},
         "Flange thickness(T): '5O' is not a valid floating point value"},
        {"zero", 2, {{"KEdit1", "0"}}, "Section Dia D(mm) must be greater than 0 (it is 0)."},
        {"tube wall too thick",
         8,
         {{"KEdit2", "500"}},
         "Thick(T) must be greater than 0 and less than 500 mm, half of Depth(D) (it is 500)."},
        {"hollow walls meet",
         1,
         {{"KEdit4", "250"}},
         "Web thickness(t) must be greater than 0 and less than 250 mm, half of Flange width(W) "
         "(it is 250)."},
    };
    for (const Case& c : cases) {
        SectionModel m;
        buildSteelSection(m, 7, textsFor(7));
        try {
            buildSteelSection(m, c.shape, textsFor(c.shape, c.set));
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(m.document.STEEL_SEC[1].NPOINT, 12) << c.name << ": the cross stays";
    }
}
