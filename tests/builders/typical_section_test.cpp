#include "builders/typical_section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "builder_test_support.h"
#include "model/errors.h"

using namespace qav;
using qav::test::expectPoint;

namespace {

BoxTexts textsFor(int shape) {
    BoxTexts t = typicalDialogTexts();
    typicalShapeChange(t, shape);
    return t;
}

SectionModel built(int shape, const BoxTexts& texts) {
    SectionModel m;
    buildTypicalSection(m, shape, texts);
    return m;
}

}  // namespace

TEST(TypicalSection, EveryShapeHasItsCornerCountsAndASpareSlotCopyingCornerZero) {
    struct Case {
        int shape;
        int outline, cover, bars;
    };
    const Case cases[] = {{0, 8, 8, 12},    {1, 8, 8, 6},     {2, 24, 24, 12}, {3, 12, 12, 12},
                          {4, 8, 8, 8},     {5, 8, 8, 8},     {6, 6, 6, 6},    {7, 8, 8, 8},
                          {8, 24, 12, 12},  {9, 12, 12, 12},  {10, 8, 8, 8},   {11, 6, 6, 6},
                          {12, 12, 12, 12}, {13, 28, 28, 28}, {14, 32, 32, 32}};
    for (const Case& c : cases) {
        const std::string name = typicalShapes()[static_cast<std::size_t>(c.shape)].name;
        const SectionModel m = built(c.shape, textsFor(c.shape));
        EXPECT_EQ(m.document.NCONC_PT, c.outline) << name;
        EXPECT_EQ(m.document.NCOVER_PT, c.cover) << name;
        EXPECT_EQ(m.document.NBAR, c.bars) << name;
        ASSERT_EQ(m.document.CONC_PT.size(), static_cast<std::size_t>(c.outline + 1)) << name;
        EXPECT_EQ(m.document.CONC_PT[c.outline].X, m.document.CONC_PT[0].X) << name;
        EXPECT_EQ(m.document.CONC_PT[c.outline].Y, m.document.CONC_PT[0].Y) << name;
        EXPECT_EQ(m.document.COVER_PT.size(), static_cast<std::size_t>(c.cover + 1)) << name;
        // A concrete outline of positive size whichever way it runs, centred on the origin.
        EXPECT_GT(std::fabs(test::area(m.document.CONC_PT, m.document.NCONC_PT)), 0) << name;
        EXPECT_EQ(m.document.NSTEEL_SEC, 0) << name;
        for (int i = 1; i <= m.document.NBAR; ++i)
            EXPECT_TRUE(std::isfinite(m.document.BAR[i].X + m.document.BAR[i].Y)) << name;
    }
}

TEST(TypicalSection, DefaultRectangularColumnHasTwelveBarsInOrder) {
    const SectionModel m = built(0, textsFor(0));
    ASSERT_EQ(m.document.NBAR, 12);
    const double step = 730.0 / 3;
    struct Case {
        int bar;
        double x, y;
    };
    const Case cases[] = {{1, -365 + step, 465},
                          {2, -365 + step, -465},
                          {3, -365 + 2 * step, 465},
                          {4, -365 + 2 * step, -465},
                          {5, -365, 465 - 310},
                          {6, 365, -465 + 310},
                          {7, -365, 465 - 620},
                          {8, 365, -465 + 620},
                          {9, -365, -465},
                          {10, 365, -465},
                          {11, 365, 465},
                          {12, -365, 465}};
    for (const Case& c : cases) {
        expectPoint({m.document.BAR[c.bar].X, m.document.BAR[c.bar].Y}, c.x, c.y,
                    "bar " + std::to_string(c.bar));
        EXPECT_DOUBLE_EQ(m.document.BAR[c.bar].DB, 25) << c.bar;
    }
    expectPoint(m.document.CONC_PT[1], -400, 0, "outline runs clockwise from the bottom-left");
    expectPoint(m.document.COVER_PT[1], 0, -465, "cover line runs anticlockwise");
    EXPECT_NEAR(m.document.ZONE_XMAX, 400, 1e-9);
    EXPECT_NEAR(m.document.ZONE_YMIN, -500, 1e-9);
}

TEST(TypicalSection, CornerBarsStandForTheirBundle) {
    BoxTexts t = textsFor(0);
    t["Edit10"] = "4";
    const SectionModel m = built(0, t);
    for (int i = m.document.NBAR - 3; i <= m.document.NBAR; ++i)
        EXPECT_DOUBLE_EQ(m.document.BAR[i].DB, 50) << i;
}

TEST(TypicalSection, BeamTopRebarLiesAlongTheNegativeYFace) {
    BoxTexts t = textsFor(1);
    t["Edit6"] = "32";
    t["Edit10"] = "2";
    const SectionModel m = built(1, t);
    ASSERT_EQ(m.document.NBAR, 2 + 2 + 4);
    expectPoint({m.document.BAR[1].X, m.document.BAR[1].Y}, -365, -465,
                "first top bar in the corner");
    expectPoint({m.document.BAR[2].X, m.document.BAR[2].Y}, 365, -465,
                "last top bar in the other corner");
    EXPECT_DOUBLE_EQ(m.document.BAR[1].DB, 32);
    expectPoint({m.document.BAR[3].X, m.document.BAR[3].Y}, -365, 465, "bottom group on y > 0");
    expectPoint({m.document.BAR[5].X, m.document.BAR[5].Y}, -365, -465 + 930.0 / 3,
                "side bars left then right");
    expectPoint({m.document.BAR[6].X, m.document.BAR[6].Y}, 365, -465 + 930.0 / 3,
                "side bar right");
}

TEST(TypicalSection, CircleIgnoresTheMeshNumberAndPlacesRings) {
    BoxTexts t = textsFor(2);
    t["Edit13"] = "48";
    t["Edit4"] = "2";
    t["Edit12"] = "50";
    t["Edit15"] = "anything";  // the rotation box is never read
    const SectionModel m = built(2, t);
    EXPECT_EQ(m.document.NCONC_PT, 24);
    const double a1 = 15 * M_PI / 180;
    expectPoint(m.document.CONC_PT[0], 400 * std::cos(a1), 400 * std::sin(a1),
                "first corner at 15 degrees");
    expectPoint(m.document.CONC_PT[23], 400, 0, "last corner at 360 degrees");
    expectPoint(m.document.COVER_PT[0], 365, 0, "cover starts at 0 degrees");
    ASSERT_EQ(m.document.NBAR, 24);
    // Bar i = 1 at 30 degrees, outer ring then inner ring.
    const double a = 30 * M_PI / 180;
    expectPoint({m.document.BAR[1].X, m.document.BAR[1].Y}, 365 * std::cos(a), 365 * std::sin(a),
                "outer ring");
    expectPoint({m.document.BAR[2].X, m.document.BAR[2].Y}, 315 * std::cos(a), 315 * std::sin(a),
                "inner ring");
}

TEST(TypicalSection, ShapesKeepTheirDocumentedCorners) {
    struct Case {
        const char* name;
        int shape;
        std::map<std::string, std::string> set;
        bool cover;
        int slot;
        double x, y;
    };
    const Case cases[] = {
        // The I-section's web is T thick whatever t says.
        {"I web uses T", 3, {{"KEdit4", "100"}}, false, 3, 100, -300},
        {"I cover re-entrant corner", 3, {}, true, 3, 65, -335},
        {"T re-entrant cover corner", 4, {}, true, 2, 65, 335},
        {"channel inner corner", 5, {}, false, 3, -300, -300},
        {"angle top of the leg", 6, {}, false, 4, -300, 500},
        {"taper mid-side", 7, {}, false, 3, 250, 0},
        {"taper mid-side cover", 7, {}, true, 3, 215, 0},
        {"ellipse top", 8, {}, false, 6, 0, 500},
        {"ellipse cover 30 degree steps", 8, {}, true, 3, 0, 465},
        {"general I bottom web", 9, {}, false, 3, 100, -800},
        {"taper T foot", 10, {}, false, 1, 150, -500},
        {"taper T under the flange", 10, {}, false, 2, 200, 300},
        {"taper angle top of leg", 11, {}, false, 4, -100, 500},
        {"taper I web top cover", 12, {}, true, 4, 115, 335},
        {"recto-circular right mid-side", 13, {}, false, 13, 300, 0},
        {"recto-circular top arc start", 13, {}, false, 14, 300, 300},
        {"recto-circular cover mid-side", 13, {}, true, 27, -265, 0},
        {"recto-circular ellipse bottom", 14, {}, false, 7, 0, -800},
        {"recto-circular ellipse first sample", 14, {}, false, 0, -500, -700},
        {"recto-circular ellipse cover right", 14, {}, true, 15, 465, 0},
    };
    for (const Case& c : cases) {
        BoxTexts t = textsFor(c.shape);
        for (const auto& [k, v] : c.set) t[k] = v;
        const SectionModel m = built(c.shape, t);
        const TPOS p = c.cover ? m.document.COVER_PT[c.slot] : m.document.CONC_PT[c.slot];
        expectPoint(p, c.x, c.y, c.name);
        if (c.cover)
            expectPoint({m.document.BAR[c.slot + 1].X, m.document.BAR[c.slot + 1].Y}, c.x, c.y,
                        std::string(c.name) + " bar");
    }
}

TEST(TypicalSection, ShapeChangeSetsDefaultsAndKeepsOtherBoxes) {
    BoxTexts t = typicalDialogTexts();
    t["Edit3"] = "50";
    t["Edit5"] = "7";
    typicalShapeChange(t, 12);
    EXPECT_EQ(t["KEdit7"], "250");
    EXPECT_EQ(t["Edit3"], "50");
    EXPECT_EQ(t["Edit5"], "7") << "shapes 3..14 leave the bar boxes";
    typicalShapeChange(t, 8);
    EXPECT_EQ(t["KEdit3"], "0") << "rows the shape does not use are zeroed";
    typicalShapeChange(t, 2);
    EXPECT_EQ(t["Edit5"], "12");
    EXPECT_EQ(typicalShapes()[1].name, "Rectangel Beam");
}

TEST(TypicalSection, RefusedInputLeavesTheModel) {
    struct Case {
        const char* name;
        int shape;
        const char* box;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"text in a dimension", 0, "KEdit1", "8OO",
         "Section Dim B: '8OO' is not a valid floating point value"},
        {"text in a count", 0, "Edit4", "1.5",
         "X-Dir Rebar Row: '1.5' is not a valid integer value"},
        {"zero width", 0, "KEdit1", "0", "Section Dim B must be greater than 0 (it is 0)."},
        {"negative depth", 3, "KEdit1", "-5",
         "Overall depth(D) must be greater than 0 (it is -5)."},
        {"one bar per beam row", 1, "Edit5", "1",
         "Top Rebar needs at least 2 bars per row (or 0 rows)."},
        {"negative count", 0, "Edit8", "-1", "Y-Dir Rebar Number must not be negative (it is -1)."},
        {"negative rows", 2, "Edit4", "-1", "Main Rebar Row must not be negative (it is -1)."},
        // A web that widens upwards faster than the cover's step leaves the cover line outside.
        {"steep taper", 11, "KEdit4", "1200",
         "Rebar Distance d1(mm) 35 leaves the cover line outside this shape's outline: The cover "
         "line leaves the concrete outline at corner 4 (665, 465). Use a smaller cover distance."},
    };
    for (const Case& c : cases) {
        SectionModel m = built(0, textsFor(0));
        BoxTexts t = textsFor(c.shape);
        t[c.box] = c.text;
        try {
            buildTypicalSection(m, c.shape, t);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(m.document.NCONC_PT, 8) << c.name << ": the old section stays";
        EXPECT_EQ(m.document.NBAR, 12) << c.name;
    }
}

TEST(TypicalSection, ZeroCountsGiveNoBarsOfThatGroup) {
    BoxTexts t = textsFor(1);
    t["Edit4"] = "0";
    t["Edit5"] = "1";  // harmless without rows
    t["Edit10"] = "0";
    const SectionModel m = built(1, t);
    EXPECT_EQ(m.document.NBAR, 2);
}

TEST(TypicalSection, CountsPlacingTooManyBarsAreRefusedBeforeAnyBarIsMade) {
    struct Case {
        const char* name;
        int shape;
        std::map<std::string, std::string> set;
    };
    const Case cases[] = {
        {"column rows x number", 0, {{"Edit4", "2000000000"}, {"Edit5", "2000000000"}}},
        {"column just past the limit", 0, {{"Edit4", "1"}, {"Edit5", "50000"}}},
        {"beam side bars", 1, {{"Edit10", "60000"}}},
        {"circle rings", 2, {{"Edit4", "1000"}, {"Edit5", "1000"}}},
    };
    for (const Case& c : cases) {
        SectionModel m = built(0, textsFor(0));
        BoxTexts t = textsFor(c.shape);
        for (const auto& [k, v] : c.set) t[k] = v;
        EXPECT_THROW(buildTypicalSection(m, c.shape, t), InputError) << c.name;
        EXPECT_EQ(m.document.NBAR, 12) << c.name << ": the old section stays";
    }
    BoxTexts t = textsFor(0);
    t["Edit4"] = "1";
    t["Edit5"] = "100";
    EXPECT_EQ(built(0, t).document.NBAR, 2 * 100 + 2 * 2 + 4)
        << "an ordinary large layout is still built";
}
