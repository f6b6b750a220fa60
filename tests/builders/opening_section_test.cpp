#include "builders/opening_section.h"

#include <gtest/gtest.h>

#include <cmath>

#include "builder_test_support.h"
#include "builders/steel_section.h"
#include "model/errors.h"
#include "model/number_text.h"

using namespace qav;
using qav::test::expectPoint;

TEST(OpeningSection, DefaultRectangleSpansHAlongXAndBAlongY) {
    SectionModel m;
    buildOpening(m, 0, openingDialogTexts());
    ASSERT_EQ(m.document.NOPEN_SEC, 1);
    const TPOLYSHAPE& o = m.document.OPEN_SEC[1];
    EXPECT_EQ(o.NPOINT, 8);
    const TPOS expected[] = {{-200, -150}, {0, -150}, {200, -150}, {200, 0},
                             {200, 150},   {0, 150},  {-200, 150}, {-200, 0}};
    for (int i = 0; i < 8; ++i)
        expectPoint(o.PT[i], expected[i].X, expected[i].Y, "corner " + std::to_string(i));
}

TEST(OpeningSection, CircleAboutItsLocationReplacesTheRectangle) {
    SectionModel m;
    buildOpening(m, 0, openingDialogTexts());
    BoxTexts t = openingDialogTexts();
    t["KEdit1"] = "200";
    t["KEdit2"] = "not read for a circle";
    t["KEdit3"] = "100";
    t["KEdit4"] = "-50";
    buildOpening(m, 1, t);
    EXPECT_EQ(m.document.NOPEN_SEC, 1);
    EXPECT_EQ(m.document.OPEN_SEC.size(), 2u);
    const TPOLYSHAPE& o = m.document.OPEN_SEC[1];
    EXPECT_EQ(o.NPOINT, 24);
    expectPoint(o.PT[0], 200, -50, "corner 0");
    expectPoint(o.PT[6], 100, 50, "corner 6");
    expectPoint(o.PT[24], 200, -50, "spare slot repeats corner 0");
}

TEST(OpeningSection, BadInputLeavesTheOpeningAndTheRestAlone) {
    SectionModel m;
    buildSteelSection(m, 2, [] {
        BoxTexts t = steelDialogTexts();
        steelShapeChange(t, 2);
        return t;
    }());
    buildOpening(m, 0, openingDialogTexts());
    struct Case {
        const char* name;
        const char* box;
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {"text", "KEdit3", "x0", "Location X(mm): 'x0' is not a valid floating point value"},
        {"zero size", "KEdit2", "0", "Section Dim H must be greater than 0 (it is 0)."},
        {"negative size", "KEdit1", "-300", "Section Dim B must be greater than 0 (it is -300)."},
        {"huge size", "KEdit1", "1e308",
         "Section Dim B must not exceed 1000000 mm (it is " + Format("%g", {1e308}) + ")."},
        {"far location", "KEdit4", "-2e6",
         "Location Y(mm) must lie between -999850 and 999850 mm, so that the opening stays within "
         "1000000 mm of "
         "the origin (it is -2000000)."},
    };
    for (const Case& c : cases) {
        BoxTexts t = openingDialogTexts();
        t[c.box] = c.text;
        try {
            buildOpening(m, 0, t);
            ADD_FAILURE() << c.name;
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(m.document.OPEN_SEC[1].NPOINT, 8) << c.name;
        EXPECT_EQ(m.document.NSTEEL_SEC, 1) << c.name;
    }
}
