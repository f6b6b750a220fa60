#include "builders/composite_section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "builder_test_support.h"
#include "builders/composite_preview.h"
#include "builders/steel_section.h"
#include "canvas/recording_canvas.h"
#include "model/errors.h"
#include "model/number_text.h"

using namespace qav;
using qav::test::expectPoint;

namespace {
CompositeParams input(int type, const std::map<std::string, std::string>& set = {}) {
    BoxTexts t = compositeDialogTexts();
    for (const auto& [k, v] : set) t[k] = v;
    CompositeParams p;
    INPUT_DATA(p, type, t);
    return p;
}

SectionModel built(const CompositeParams& p) {
    SectionModel m;
    buildCompositeSection(m, p);
    return m;
}
}  // namespace

TEST(CompositeSection, EveryTypeBuildsItsConcreteBarsAndSteel) {
    struct Case {
        int type;
        int outline, cover, bars, steelCorners;  // steelCorners 0: no steel polygon
    };
    const Case cases[] = {{0, 8, 8, 20, 0},  {1, 24, 24, 4, 0},  {2, 8, 8, 8, 0},
                          {3, 8, 8, 20, 28}, {4, 24, 24, 4, 28}, {5, 8, 8, 8, 12},
                          {6, 8, 8, 0, 10},  {7, 24, 24, 0, 50}, {8, 8, 8, 20, 50},
                          {9, 24, 24, 4, 50}};
    for (const Case& c : cases) {
        const std::string name = compositeTypes()[static_cast<std::size_t>(c.type)].name;
        const SectionModel m = built(input(c.type));
        EXPECT_EQ(m.document.NCONC_PT, c.outline) << name;
        EXPECT_EQ(m.document.NCOVER_PT, c.cover) << name;
        EXPECT_EQ(m.document.NBAR, c.bars) << name;
        EXPECT_EQ(m.document.NSTEEL_SEC, c.steelCorners ? 1 : 0) << name;
        if (c.steelCorners) {
            EXPECT_EQ(m.document.STEEL_SEC[1].NPOINT, c.steelCorners) << name;
            EXPECT_GT(m.document.STEEL_SEC[1].GAREA, 0) << name;
        }
    }
}

TEST(CompositeSection, DefaultRectColumnHasTwentyBars) {
    const SectionModel m = built(input(0));
    ASSERT_EQ(m.document.NBAR, 20);
    const double xs[] = {-279, -93, 93, 279};
    for (int j = 0; j < 4; ++j) {
        expectPoint({m.document.BAR[2 * j + 1].X, m.document.BAR[2 * j + 1].Y}, xs[j], 365,
                    "top " + std::to_string(j));
        expectPoint({m.document.BAR[2 * j + 2].X, m.document.BAR[2 * j + 2].Y}, xs[j], -365,
                    "bottom " + std::to_string(j));
    }
    // The cover line follows the outline's clockwise order.
    expectPoint(m.document.CONC_PT[1], -500, 0, "outline");
    expectPoint(m.document.COVER_PT[1], -465, 0, "cover");
}

TEST(CompositeSection, DefaultBeamHasFourBarsOnEachFace) {
    const SectionModel m = built(input(2));
    ASSERT_EQ(m.document.NBAR, 8);
    const double xs[] = {-465, -155, 155, 465};
    for (int j = 0; j < 4; ++j) {
        expectPoint({m.document.BAR[j + 1].X, m.document.BAR[j + 1].Y}, xs[j], -365, "first group");
        expectPoint({m.document.BAR[j + 5].X, m.document.BAR[j + 5].Y}, xs[j], 365, "second group");
    }
}

TEST(CompositeSection, RectangularTubeIsFilledWithConcrete) {
    const SectionModel m = built(input(6, {{"Edit11", "25"}, {"Edit12", "20"}}));
    EXPECT_NEAR(m.document.ZONE_XMAX - m.document.ZONE_XMIN, 960, 1e-9);
    EXPECT_NEAR(m.document.ZONE_YMAX - m.document.ZONE_YMIN, 750, 1e-9);
    const TPOLYSHAPE& s = m.document.STEEL_SEC[1];
    expectPoint(s.PT[2], 500, 400, "tube outer corner");
    expectPoint(s.PT[5], -480, -375, "tube inner corner");
    EXPECT_NEAR(s.GAREA, 1000 * 800 - 960 * 750, 1e-6);
}

TEST(CompositeSection, CircularTubeTakesItsDiameterFromSecHeight) {
    const SectionModel m = built(input(7, {{"Edit1", "123"}, {"Edit2", "950"}, {"Edit11", "25"}}));
    EXPECT_NEAR(m.document.ZONE_XMAX, 450, 1e-9) << "concrete circle of 900";
    expectPoint(m.document.STEEL_SEC[1].PT[0], -475, 0, "tube of 950");
    expectPoint(m.document.STEEL_SEC[1].PT[25], -450, 0, "wall 25");
}

TEST(CompositeSection, CrossOfTwoISections) {
    const SectionModel m =
        built(input(3, {{"Edit13", "300"}, {"Edit14", "500"}, {"Edit15", "30"}, {"Edit16", "16"}}));
    const TPOLYSHAPE& s = m.document.STEEL_SEC[1];
    expectPoint(s.PT[4], 10, -8, "web of 1 meets web of 2");
    expectPoint(s.PT[7], 250, -150, "flange of the lying section");
    expectPoint(s.PT[27], -200, -275, "last corner");
    // Two I-sections less the part of web 2 inside web 1.
    const double a1 = 2 * 400 * 25 + 20 * 550, a2 = 2 * 300 * 30 + 16 * 440;
    EXPECT_NEAR(s.GAREA, a1 + a2 - 20 * 16, 1e-6);
}

TEST(CompositeSection, InputDataKeepsWhatItDoesNotRead) {
    CompositeParams p = input(0, {{"Edit17", "50"}});
    INPUT_DATA(p, 6, compositeDialogTexts());
    EXPECT_DOUBLE_EQ(p.c, 50) << "CFT types use the cover of the last type that read it";
    EXPECT_EQ(built(p).document.COVER_PT[0].X, -480 + 50);

    // A bad box stops the reading; what came before it is kept.
    BoxTexts t = compositeDialogTexts();
    t["Edit2"] = "600";
    t["Edit4"] = "four";
    CompositeParams q;
    EXPECT_THROW(INPUT_DATA(q, 0, t), ConversionError);
    EXPECT_DOUBLE_EQ(q.SH, 600);
    EXPECT_EQ(q.LX, 1);
    EXPECT_EQ(q.NX, 0);
}

TEST(CompositeSection, RcTypesKeepTheSteelAndEveryTypeKeepsOpenings) {
    SectionModel m;
    buildCompositeSection(m, input(5));
    m.document.NOPEN_SEC = 1;
    m.document.OPEN_SEC.resize(2);
    buildCompositeSection(m, input(1));
    EXPECT_EQ(m.document.NSTEEL_SEC, 1);
    EXPECT_EQ(m.document.STEEL_SEC[1].NPOINT, 12);
    EXPECT_EQ(m.document.NOPEN_SEC, 1);
}

TEST(CompositeSection, RefusesDegenerateParametersBeforeChangingTheModel) {
    struct Case {
        const char* name;
        CompositeParams p;
        const char* message;
    };
    const Case cases[] = {
        {"never read", CompositeParams{}, "Nothing has been read yet: press \"Input Data\" first."},
        {"zero width", input(0, {{"Edit1", "0"}}), "Sec Width must be greater than 0 (it is 0)."},
        {"beam with one bar", input(2, {{"Edit4", "1"}}),
         "X-Dir Rebar needs at least 2 bars per layer (or 0 layers)."},
        {"negative count", input(0, {{"Edit7", "-1"}}),
         "Y-Dir Rebar Num must not be negative (it is -1)."},
        {"tube wall fills the tube", input(7, {{"Edit11", "400"}}),
         "Steel Section 1 Flange Thick must be greater than 0 and less than 400 mm, half of Sec "
         "Height (it is 400)."},
        {"zero steel", input(5, {{"Edit12", "0"}}),
         "Steel Section 1 Web Thick must be greater than 0 and less than 400 mm, the Steel Section "
         "1 Sec Width (it is 0)."},
    };
    for (const Case& c : cases) {
        SectionModel m = built(input(3));
        try {
            buildCompositeSection(m, c.p);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(m.document.NBAR, 20) << c.name;
        EXPECT_EQ(m.document.STEEL_SEC[1].NPOINT, 28) << c.name;
    }
}

TEST(CompositePreview, DrawsConcreteBarsAndSteelInTheirColours) {
    RecordingCanvas c;
    drawCompositePreview(c, 607, 500, input(3));
    using K = RecordingCanvas::Kind;
    const auto rects = c.callsOf(K::Rectangle);
    ASSERT_EQ(rects.size(), 1u + 1 + 6);
    EXPECT_EQ(rects[0].points[1], (Point{607, 500}));
    // S = min(0.7 * 500 / 800, 0.7 * 607 / 1000) = 0.4249
    EXPECT_EQ(rects[1].points[0], (Point{Round(303.5 - 500 * 0.4249), Round(250 - 400 * 0.4249)}));
    EXPECT_EQ(rects[1].pen.width, 2);
    for (std::size_t i = 2; i < rects.size(); ++i) {
        EXPECT_EQ(rects[i].pen.color, colors::blue) << i;
        EXPECT_EQ(rects[i].brush.style, BrushStyle::Clear) << i;
    }
    const auto dots = c.callsOf(K::Ellipse);
    ASSERT_EQ(dots.size(), 20u);
    EXPECT_EQ(dots[0].brush.color, colors::red);
    EXPECT_EQ(dots[0].points[1].x - dots[0].points[0].x, 6);
}

TEST(CompositePreview, CircleBarsStartAtTheTopAndNothingStrayBeforeInputData) {
    CompositeParams p = input(1);
    const auto bars = GEN_RC_REBAR(2, p);
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_NEAR(bars[0].PX, 0, 1e-9);
    EXPECT_NEAR(bars[0].PY, 365, 1e-9);
    EXPECT_NEAR(bars[1].PX, 365, 1e-9);

    RecordingCanvas c;
    drawCompositePreview(c, 607, 500, CompositeParams{});
    EXPECT_EQ(c.calls().size(), 1u) << "only the blank picture";
    RecordingCanvas beam;
    drawCompositePreview(beam, 607, 500, input(2, {{"Edit4", "1"}}));
    EXPECT_EQ(beam.callsOf(RecordingCanvas::Kind::Ellipse).size(), 4u)
        << "the undefined bar is left out";
}

TEST(CompositeSection, CountsPlacingTooManyBarsAreRefusedAndNotPreviewed) {
    struct Case {
        const char* name;
        int type;
        int previewKind;
        std::map<std::string, std::string> set;
    };
    const Case cases[] = {
        {"column layers x number", 0, 1, {{"Edit3", "2000000000"}, {"Edit4", "2000000000"}}},
        {"beam layers x number", 2, 3, {{"Edit6", "400"}, {"Edit7", "400"}}},
        {"circle rings", 1, 2, {{"Edit3", "100000"}, {"Edit4", "2"}}},
    };
    for (const Case& c : cases) {
        const CompositeParams p = input(c.type, c.set);
        SectionModel m;
        EXPECT_THROW(buildCompositeSection(m, p), InputError) << c.name;
        EXPECT_EQ(m.document.NBAR, 0) << c.name;
        EXPECT_TRUE(GEN_RC_REBAR(c.previewKind, p).empty()) << c.name;
    }
}
