// The section picture and the M-Phi chart.
#include <gtest/gtest.h>

#include <algorithm>

#include "canvas/recording_canvas.h"
#include "reports/mphi_chart.h"
#include "reports/section_picture.h"

using namespace qav;
using Kind = RecordingCanvas::Kind;

namespace {

std::vector<TPOS> rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {}};
}

SectionModel column600x800() {
    SectionModel m;
    m.document.CONC_PT = rect(-300, -400, 300, 400);
    m.document.NCONC_PT = 4;
    m.document.COVER_PT = rect(-250, -350, 250, 350);
    m.document.NCOVER_PT = 4;
    m.document.BAR = {TBAR{}, TBAR{-250, -350, 25}, TBAR{250, 350, 25}};
    m.document.NBAR = 2;
    return m;
}

struct Box {
    int x0, y0, x1, y1;
};
Box boundsOf(const std::vector<Point>& pts) {
    Box b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const Point& p : pts) {
        b.x0 = std::min(b.x0, p.x);
        b.x1 = std::max(b.x1, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.y1 = std::max(b.y1, p.y);
    }
    return b;
}

}  // namespace

TEST(SectionPicture, FitsThreeQuartersOfTheBoxAroundItsCentre) {
    const SectionModel m = column600x800();
    const auto fit = CALC_POLY_ZONE_IMAGE(m, 1935, 1935);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->SCR, 2.41875);
    RecordingCanvas c;
    PRINT_DESIGN_SECTION(c, m, 425, 1350, 2580, 2580);
    const auto rects = c.callsOf(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].points, (std::vector<Point>{{425, 1350}, {3005, 3930}}));
    const auto polys = c.callsOf(Kind::Polygon);
    ASSERT_EQ(polys.size(), 2u);
    const Box b = boundsOf(polys[0].points);
    EXPECT_EQ((b.x0 + b.x1) / 2, 1715);
    EXPECT_EQ((b.y0 + b.y1) / 2, 2640);
    EXPECT_NEAR(b.y1 - b.y0, 1935, 1);
    EXPECT_NEAR(b.x1 - b.x0, 1451, 1);
    EXPECT_EQ(polys[0].brush.color, CREAM);
    EXPECT_EQ(polys[1].pen.color, colors::red);
    EXPECT_EQ(polys[1].pen.style, PenStyle::Dash);
    EXPECT_EQ(polys[1].brush.style, BrushStyle::Clear) << "printed cover line is not filled";
    const auto bars = c.callsOf(Kind::Ellipse);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].points[1].x - bars[0].points[0].x, 2 * 30) << "radius Round(12.5 * SCR)";
    EXPECT_EQ(bars[0].brush.color, colors::red);
}

TEST(SectionPicture, FitSourcesAndTheScreenVariant) {
    struct Case {
        const char* name;
        bool outline, steel;
        bool fits;
        double SCR;
    };
    const Case cases[] = {
        {"outline wins over steel", true, true, true, 1935.0 / 800},
        {"steel only is fitted on its corners", false, true, true, 1935.0 / 200},
        {"nothing to fit", false, false, false, 0},
    };
    for (const Case& k : cases) {
        SectionModel m = column600x800();
        if (!k.outline) m.document.NCONC_PT = 0;
        if (k.steel) {
            m.document.STEEL_SEC.resize(2);
            m.document.STEEL_SEC[1].PT = rect(-100, -50, 100, 150);
            m.document.STEEL_SEC[1].NPOINT = 4;
            m.document.NSTEEL_SEC = 1;
        }
        const auto fit = CALC_POLY_ZONE_IMAGE(m, 1935, 1935);
        ASSERT_EQ(fit.has_value(), k.fits) << k.name;
        if (fit) {
            EXPECT_DOUBLE_EQ(fit->SCR, k.SCR) << k.name;
        }
        RecordingCanvas c;
        ASSERT_NO_THROW(SHOW_SECTION_IMAGE(c, m, 534, 439)) << k.name;
        EXPECT_EQ(c.callsOf(Kind::Rectangle)[0].points[1], (Point{534, 439})) << k.name;
        if (!k.fits) {
            EXPECT_EQ(c.texts(),
                      std::vector<std::string>{"No section outline or steel section to draw."})
                << k.name;
            continue;
        }
        const auto polys = c.callsOf(Kind::Polygon);
        // Screen: the outline only when there is one; the cover line filled cream.
        const std::size_t expected = (k.outline ? 1 : 0) + 1 + (k.steel ? 1 : 0);
        ASSERT_EQ(polys.size(), expected) << k.name;
        const auto& cover = polys[k.outline ? 1 : 0];
        EXPECT_EQ(cover.brush, (Brush{CREAM, BrushStyle::Solid})) << k.name;
        EXPECT_EQ(cover.pen.style, PenStyle::Dash) << k.name;
        if (k.steel) {
            EXPECT_EQ(polys.back().brush.color, colors::cyan) << k.name;
        }
    }
}

TEST(SectionPicture, DegenerateOutlinesHaveNoScale) {
    SectionModel m;
    m.document.CONC_PT = {{5, 5}, {5, 5}, {5, 5}, {}};
    m.document.NCONC_PT = 3;
    EXPECT_FALSE(CALC_POLY_ZONE_IMAGE(m, 100, 100));
    RecordingCanvas c;
    EXPECT_NO_THROW(PRINT_DESIGN_SECTION(c, m, 0, 0, 100, 100));
}

TEST(MphiChart, GridTicksAndCurve) {
    SectionModel m;
    m.results.MPHI_PHI = {0, 0.01, 0.02};
    m.results.MPHI_M = {0, 300, 350};
    RecordingCanvas c;
    GEN_M_fai_CURVE_IMAGE(c, m, 534, 439, 2, -90);
    std::size_t grid = 0, ticks = 0, red = 0;
    for (const auto& l : c.callsOf(Kind::Line)) {
        if (l.pen.color == colors::grey) ++grid;
        if (l.pen.color == colors::blue) ++ticks;
        if (l.pen.color == colors::red) {
            ++red;
            EXPECT_EQ(l.pen.width, 2);
        }
    }
    EXPECT_EQ(grid, 5u + 9u);
    EXPECT_EQ(ticks, 82u);
    EXPECT_EQ(red, 2u);
    const auto texts = c.texts();
    for (const char* t :
         {"M-Phi Curve", "Curvature[1/m]", "Moment angle = -90", "Moment[kNm]", "400", "2.00E-002"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    // The last point: curvature 0.02 at the right end, 350 of 400 kNm.
    const auto last = c.callsOf(Kind::Line).back();
    EXPECT_EQ(last.points[1], (Point{454, 359 - 244}));
}

TEST(MphiChart, NoRangeDrawsAnEmptyChart) {
    struct Case {
        const char* name;
        std::vector<double> phi, m;
        int steps;
        std::string note;
    };
    const Case cases[] = {
        {"no run", {}, {}, 20, "No M-Phi curve to draw: run the M-Phi analysis."},
        {"zero curvature",
         {0, 0, 0},
         {0, 10, 20},
         2,
         "No M-Phi curve to draw: the curvatures are all zero."},
        {"zero moments",
         {0, 0.1, 0.2},
         {0, 0, 0},
         2,
         "No M-Phi curve to draw: the moments are all zero."},
        {"curvatures too small to scale",
         {0, 1e-320, 2e-320},
         {0, 10, 20},
         2,
         "No M-Phi curve to draw: the curve cannot be scaled to the chart."},
    };
    for (const Case& k : cases) {
        SectionModel m;
        m.results.MPHI_PHI = k.phi;
        m.results.MPHI_M = k.m;
        RecordingCanvas c;
        ASSERT_NO_THROW(GEN_M_fai_CURVE_IMAGE(c, m, 534, 439, k.steps, 0)) << k.name;
        EXPECT_TRUE(c.callsOf(Kind::Line).empty()) << k.name;
        EXPECT_EQ(c.texts(), (std::vector<std::string>{"M-Phi Curve", k.note})) << k.name;
    }
}
