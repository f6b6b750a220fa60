#include "view/section_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canvas/recording_canvas.h"

using namespace qav;
using Kind = RecordingCanvas::Kind;

namespace {
SectionModel emptyModel() {
    SectionModel m;
    m.view.W = 1000;
    m.view.H = 800;
    m.view.VIEW_SCALE = 1.0;
    return m;
}

void addSquareOutline(SectionModel& m) {
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}, {-100, -100}};
}

TFIB triangleFibre(int ty) {
    TFIB f;
    f.SHAPE = 3;
    f.TY = ty;
    f.POS[0] = {0, 0};
    f.POS[1] = {10, 0};
    f.POS[2] = {0, 10};
    f.X = 3;
    f.Y = 3;
    return f;
}

TFIB rebarFibre() {
    TFIB f;
    f.SHAPE = 2;
    f.TY = FIB_REBAR;
    f.DB = 20;
    f.X = 50;
    f.Y = 50;
    return f;
}
}  // namespace

TEST(SectionView, EmptyModelShowsBackgroundTitleAndCentreCross) {
    SectionModel m = emptyModel();
    m.view.VIEW_DX = 10;
    m.view.VIEW_DY = -5;
    RecordingCanvas c;
    const ViewCounts counts = DRAW_STRU(m, c);
    ASSERT_EQ(c.calls().size(), 5u);
    const auto& bg = c.calls()[0];
    EXPECT_EQ(bg.kind, Kind::Rectangle);
    EXPECT_EQ(bg.points[1], (Point{1000, 800}));
    EXPECT_EQ(bg.brush.color, colors::white);
    EXPECT_EQ(c.texts(), (std::vector<std::string>{"QAV-Section", "HK-COP-2013"}));
    EXPECT_EQ(c.calls()[1].font.name, "Comic Sans MS");
    EXPECT_TRUE(c.calls()[1].font.bold);
    EXPECT_EQ(c.calls()[2].points[0], (Point{10, 80}));
    // Cross at (W/2 - DX*S, H/2 + DY*S) = (490, 395).
    const auto lines = c.callsOf(Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{480, 395}, {500, 395}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{490, 385}, {490, 405}}));
    EXPECT_EQ(lines[0].pen.color, colors::red);
    EXPECT_EQ(counts.NBAR, "0");
}

TEST(SectionView, DesignCodeLabel) {
    SectionModel m = emptyModel();
    m.settings.DESIGN_CODE = 1;
    RecordingCanvas c;
    DRAW_STRU(m, c);
    EXPECT_EQ(c.texts().back(), "BS-8110");
    // A section on a code's own grades names that code, whatever the setting says.
    for (const CodeId code : {CodeId::Ec2, CodeId::Aci318}) {
        m.document.CODE = code;
        RecordingCanvas own;
        DRAW_STRU(m, own);
        EXPECT_EQ(own.texts().back(), codeName(code));
    }
}

TEST(SectionView, BarRadiusRoundsHalfToEven) {
    struct Case {
        const char* name;
        double scale;
        int r;
    } cases[] = {{"half scale", 0.5, 6}, {"unit scale", 1.0, 12}, {"1.1", 1.1, 14}};
    for (const Case& k : cases) {
        SectionModel m = emptyModel();
        m.view.VIEW_SCALE = k.scale;
        ADD_SINGLE_REBAR(m, 0, 0, 25);
        RecordingCanvas c;
        DRAW_BARS(m, c);
        const auto e = c.callsOf(Kind::Ellipse);
        ASSERT_EQ(e.size(), 1u) << k.name;
        EXPECT_EQ(e[0].points[0], (Point{500 - k.r, 400 - k.r})) << k.name;
        EXPECT_EQ(e[0].points[1], (Point{500 + k.r, 400 + k.r})) << k.name;
        EXPECT_EQ(e[0].brush.color, colors::magenta) << k.name;
    }
}

TEST(SectionView, DiameterLabelsFollowSwitchesTwoAndFive) {
    struct Case {
        const char* name;
        bool bars, labels;
        std::vector<std::string> texts;
    } cases[] = {
        {"both on", true, true, {"QAV-Section", "HK-COP-2013", "25"}},
        {"labels off", true, false, {"QAV-Section", "HK-COP-2013"}},
        {"bars off, labels on", false, true, {"QAV-Section", "HK-COP-2013"}},
    };
    for (const Case& k : cases) {
        SectionModel m = emptyModel();
        ADD_SINGLE_REBAR(m, 0, 0, 25);
        m.view.SHOW_FLAG[2] = k.bars;
        m.view.SHOW_FLAG[5] = k.labels;
        RecordingCanvas c;
        DRAW_STRU(m, c);
        EXPECT_EQ(c.texts(), k.texts) << k.name;
        if (k.bars && k.labels) {
            const auto t = c.callsOf(Kind::Text).back();
            EXPECT_EQ(t.points[0], (Point{512, 412})) << "label at the box corner";
            EXPECT_EQ(t.brush.color, colors::yellow);
        }
    }
}

TEST(SectionView, LayerOrderAndColours) {
    SectionModel m = emptyModel();
    addSquareOutline(m);
    m.document.NCOVER_PT = 4;
    m.document.COVER_PT = m.document.CONC_PT;
    m.document.NSTEEL_SEC = 1;
    m.document.STEEL_SEC.resize(2);
    m.document.STEEL_SEC[1].NPOINT = 3;
    m.document.STEEL_SEC[1].PT = {{0, 0}, {10, 0}, {0, 10}, {0, 0}};
    m.document.NOPEN_SEC = 1;
    m.document.OPEN_SEC.resize(2);
    m.document.OPEN_SEC[1] = m.document.STEEL_SEC[1];
    m.mesh.NFIB = 2;
    m.mesh.FIB = {TFIB{}, triangleFibre(FIB_COVER_CONCRETE), rebarFibre()};
    ADD_SINGLE_REBAR(m, 50, 50, 20);
    m.view.NSEL_BAR = 1;
    m.view.SEL_BAR[1] = 1;
    RecordingCanvas c;
    DRAW_STRU(m, c);
    struct Expect {
        Kind kind;
        Color pen;
        int width;
    };
    const std::vector<Expect> order = {
        {Kind::Rectangle, colors::white, 1},
        {Kind::Text, colors::white, 1},
        {Kind::Text, colors::white, 1},
        {Kind::Polygon, colors::midGrey, 1},  // fibre
        {Kind::Ellipse, colors::yellow, 1},
        {Kind::Ellipse, colors::magenta, 1},  // dot, bar
        {Kind::Text, colors::magenta, 1},
        {Kind::Ellipse, colors::black, 1},  // label, rebar fibre
        {Kind::Polygon, colors::black, 2},
        {Kind::Polygon, colors::blue, 2},  // outline, steel
        {Kind::Polygon, colors::red, 1},
        {Kind::Polygon, colors::green, 2},  // cover, opening
        {Kind::Ellipse, colors::blue, 1},
        {Kind::Line, colors::red, 1},  // selection, cross
        {Kind::Line, colors::red, 1},
    };
    ASSERT_EQ(c.calls().size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(c.calls()[i].kind, order[i].kind) << "call " << i;
        EXPECT_EQ(c.calls()[i].pen.color, order[i].pen) << "call " << i;
        EXPECT_EQ(c.calls()[i].pen.width, order[i].width) << "call " << i;
    }
    EXPECT_EQ(c.calls()[3].brush.color, colors::darkGrey);
    EXPECT_EQ(c.calls()[7].brush.color, colors::red);
    EXPECT_EQ(c.calls()[8].brush.style, BrushStyle::Clear);
    EXPECT_EQ(c.calls()[10].pen.style, PenStyle::Dot);
    EXPECT_EQ(c.calls()[12].points, (std::vector<Point>{{546, 346}, {554, 354}}));
    EXPECT_EQ(c.calls()[8].points.size(), 4u) << "spare slot not drawn";
    EXPECT_EQ(c.calls()[8].points[0], (Point{400, 500}));
}

TEST(SectionView, MeshSwitchHidesTrianglesAndRebarFibresButNotDots) {
    SectionModel m = emptyModel();
    m.mesh.NFIB = 2;
    m.mesh.FIB = {TFIB{}, triangleFibre(FIB_CORE_CONCRETE), rebarFibre()};
    m.view.SHOW_FLAG[2] = false;
    m.view.SHOW_FLAG[3] = false;
    RecordingCanvas c;
    DRAW_STRU(m, c);
    EXPECT_TRUE(c.callsOf(Kind::Polygon).empty());
    const auto e = c.callsOf(Kind::Ellipse);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].brush.color, colors::yellow);
    EXPECT_EQ(e[0].points, (std::vector<Point>{{501, 395}, {505, 399}}));
}

TEST(SectionView, CentreSwitchDoesNotHideTheCross) {
    SectionModel m = emptyModel();
    m.view.SHOW_FLAG[6] = false;
    RecordingCanvas c;
    DRAW_STRU(m, c);
    EXPECT_EQ(c.callsOf(Kind::Line).size(), 2u);
}

TEST(SectionView, NonFiniteOrZeroScaleDrawsNothingFromBadNumbers) {
    struct Case {
        const char* name;
        double scale;
        std::size_t calls;
    } cases[] = {
        {"NaN", std::numeric_limits<double>::quiet_NaN(), 3},
        {"infinity", std::numeric_limits<double>::infinity(), 3},
        {"zero: everything collapses onto the centre", 0.0, 3 + 1 + 1 + 2},
    };
    for (const Case& k : cases) {
        SectionModel m = emptyModel();
        m.view.VIEW_SCALE = k.scale;
        addSquareOutline(m);
        ADD_SINGLE_REBAR(m, 10, 10, 20);
        m.view.SHOW_FLAG[5] = false;
        m.view.VIEW_DX = 1;
        RecordingCanvas c;
        DRAW_STRU(m, c);
        EXPECT_EQ(c.calls().size(), k.calls) << k.name;
    }
}

TEST(SectionView, StaleSelectionEntriesAreSkipped) {
    SectionModel m = emptyModel();
    ADD_SINGLE_REBAR(m, 0, 0, 20);
    m.view.NSEL_BAR = 2;
    m.view.SEL_BAR[1] = 7;
    m.view.SEL_BAR[2] = 1;
    RecordingCanvas c;
    DRAW_SEL_FIBER(m, c);
    EXPECT_EQ(c.callsOf(Kind::Ellipse).size(), 1u);
}
