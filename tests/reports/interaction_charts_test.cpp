#include "reports/interaction_charts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <utility>

#include "analysis/code_sections.h"
#include "analysis/design_strength.h"
#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "canvas/recording_canvas.h"
#include "interchange/force_csv.h"
#include "reports/chart_plot.h"
#include "reports/code_comparison.h"
#include "reports/key_point_marks.h"
#include "reports/mphi_chart.h"

using namespace qav;
using Kind = RecordingCanvas::Kind;

namespace {

const ChartFrame kScreen{0, 0, 534, 439, 1};

// A P-M curve whose ranges are the given extremes (points 1 .. 4 used).
SectionModel pmCurve(double pmax, double pmin, double mmax, double mmin) {
    SectionModel m;
    m.results.PM_P = {0, pmin, pmax, pmax, pmin, pmin};
    m.results.PM_M = {0, 0, mmax, mmin, 0, 0};
    return m;
}

std::vector<RecordingCanvas::Call> linesWith(const RecordingCanvas& c, Color color,
                                             PenStyle style) {
    std::vector<RecordingCanvas::Call> out;
    for (const auto& call : c.callsOf(Kind::Line))
        if (call.pen.color == color && call.pen.style == style) out.push_back(call);
    return out;
}

bool hasText(const RecordingCanvas& c, const std::string& text) {
    const auto t = c.texts();
    return std::find(t.begin(), t.end(), text) != t.end();
}

const RecordingCanvas::Call* textCall(const RecordingCanvas& c, const std::string& text) {
    for (const auto& call : c.calls())
        if ((call.kind == Kind::Text || call.kind == Kind::RotatedText) && call.text == text)
            return &call;
    return nullptr;
}

void addLoad(SectionModel& m, double P, double MX, double MY) {
    if (m.document.FORCE.empty()) m.document.FORCE.resize(1);
    m.document.FORCE.push_back(TFORCE{P, MX, MY, "C", 0});
    m.document.NFORCE = static_cast<int32_t>(m.document.FORCE.size()) - 1;
}

Point centre(const RecordingCanvas::Call& e) {
    return {(e.points[0].x + e.points[1].x) / 2, (e.points[0].y + e.points[1].y) / 2};
}

}  // namespace

TEST(PmChart, MomentScaleFitsTheCurveInRoundSteps) {
    struct Case {
        const char* name;
        double mmax;
        std::string firstLabel;  // XMIN, under the P = 0 axis
    };
    const Case cases[] = {{"exactly 500", 500, "-500"},
                          {"just above 500", 500.001, "-800"},
                          {"a 200 x 250 beam", 37, "-40"},
                          {"1499", 1499, "-1600"}};
    for (const Case& c : cases) {
        const SectionModel m = pmCurve(2345.6, -1234.5, c.mmax, -c.mmax / 2);
        RecordingCanvas canvas;
        GEN_PM_CURVE_IMAGE(canvas, m, kScreen, 0, {});
        const auto* label = textCall(canvas, c.firstLabel);
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->points[0].y, 254 + 5) << c.name << ": a moment label";
        EXPECT_TRUE(hasText(canvas, c.firstLabel.substr(1))) << c.name << ": symmetric scale";
    }
}

// Every range gets 8 grid steps of a round, whole size that hold it with 0 on a grid line, and
// (beyond a few units, where the steps are whole) fills at least 45 % of the span (50 % when
// symmetric): the step just smaller did not hold it.
TEST(ChartScales, RoundSpansHoldTheRangeAndFillTheChart) {
    static constexpr double LEADS[] = {1, 1.25, 2, 2.5, 3, 4, 5, 6, 8};
    std::mt19937 rng(20261211);
    std::uniform_real_distribution<double> exponent(1, 7), share(-1, 1);
    // A whole number whose leading digits are 1, 1.25, 2, 2.5 or 5.
    auto round = [](double s) {
        const double lead = s / std::pow(10.0, std::floor(std::log10(s)));
        return s == std::round(s) && std::any_of(std::begin(LEADS), std::end(LEADS), [&](double l) {
                   return std::fabs(lead - l) < 1e-9;
               });
    };
    for (int k = 0; k < 2000; ++k) {
        const double size = std::pow(10.0, exponent(rng));
        const double lo = std::min(0.0, size * share(rng)), hi = std::max(0.0, size * share(rng));
        if (!(hi - lo > 10)) continue;
        const AxisSpan a = roundSpan(lo, hi);
        const double step = (a.hi - a.lo) / 8;
        EXPECT_TRUE(a.lo <= lo && a.hi >= hi) << lo << " " << hi;
        EXPECT_TRUE(round(step)) << step;
        EXPECT_EQ(a.lo / step, std::round(a.lo / step)) << "0 on a grid line";
        EXPECT_GT((hi - lo) / (a.hi - a.lo), 0.45) << lo << " " << hi;
        const double most = std::max(-lo, hi), half = roundHalfSpan(most);
        EXPECT_TRUE(half >= most && most / half > 0.5 && round(half / 4)) << most << " " << half;
    }
}

TEST(PmChart, AxialScaleAndTheZeroAxis) {
    const SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
    RecordingCanvas c;
    GEN_PM_CURVE_IMAGE(c, m, kScreen, 0, {});
    // YMAX 2500, YMIN -1500: labels every 500 kN from the bottom line up.
    const auto grid = linesWith(c, colors::grey, PenStyle::Dot);
    ASSERT_EQ(grid.size(), 18u);
    EXPECT_TRUE(hasText(c, "-1500"));
    EXPECT_TRUE(hasText(c, "2500"));
    EXPECT_TRUE(hasText(c, "-1000"));
    // The P = 0 axis 3/8 of the plot height (439 - 160) above its bottom line.
    const int yAxis = static_cast<int>(std::lround(359 - 0.375 * 279));
    const auto axes = linesWith(c, colors::black, PenStyle::Solid);
    ASSERT_EQ(axes.size(), 2u);
    EXPECT_EQ(axes[0].points, (std::vector<Point>{{267, 80}, {267, 359}}))
        << "M = 0 axis in the middle";
    EXPECT_EQ(axes[1].points, (std::vector<Point>{{80, yAxis}, {454, yAxis}}));
    // Moment labels sit under that axis, not under the plot area.
    const auto* zero = textCall(c, "250");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->points[0].y, yAxis + 5);
}

TEST(PmChart, GridTicksAxesAndCurveCounts) {
    SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
    RecordingCanvas c;
    GEN_PM_CURVE_IMAGE(c, m, kScreen, 30, {});
    EXPECT_EQ(linesWith(c, colors::grey, PenStyle::Dot).size(), 18u);
    const auto ticks = linesWith(c, colors::blue, PenStyle::Dot);
    ASSERT_EQ(ticks.size(), 82u);
    EXPECT_EQ(ticks[0].points[1].x - ticks[0].points[0].x, -5)
        << "axial ticks left of the M = 0 axis";
    EXPECT_EQ(ticks[41].points[1].y - ticks[41].points[0].y, 5)
        << "moment ticks below the P = 0 axis";
    EXPECT_EQ(c.callsOf(Kind::Line).size() - 18 - 82 - 2, 4u)
        << "curve: points 1 .. 5 joined, not closed";
    EXPECT_TRUE(hasText(c, "Moment angle = 30"));
    EXPECT_TRUE(hasText(c, "P-M Curve [HK-COP-2013, control strain 0.005]"));
    RecordingCanvas half;
    GEN_PM_CURVE_IMAGE(half, m, kScreen, 22.5, {});
    EXPECT_TRUE(hasText(half, "Moment angle = 22.5")) << "the angle as given, not rounded";
    const auto rotated = c.callsOf(Kind::RotatedText);
    ASSERT_EQ(rotated.size(), 1u);
    EXPECT_EQ(rotated[0].text, "Axial Force[kN]");
    EXPECT_EQ(rotated[0].angle, 90);
    // Font 8 in the recording metric: 10 high, 5 per character.
    EXPECT_EQ(rotated[0].points[0], (Point{80 - 10 - 20, 220 + 37}));
    m.settings.DESIGN_CODE = 1;
    RecordingCanvas bs;
    GEN_PM_CURVE_IMAGE(bs, m, kScreen, 0, {});
    EXPECT_TRUE(hasText(bs, "P-M Curve [BS-8110, control strain 0.005]"));
}

TEST(PmChart, LoadPointsFollowTheAngleAndReverseTheAxialForce) {
    struct Case {
        const char* name;
        double SANG, P, MX, MY;
        Point at;
    };
    // XMAX 500, YMIN -1500, YMAX 2500 on 534 x 439: SX 0.374, SY 0.0698; (0, 0) is (267, 254).
    const Case cases[] = {
        {"MY at 0 degrees", 0, 0, 0, 100, {304, 254}},
        {"MY at 180 degrees: the other branch", 180, 0, 0, 100, {230, 254}},
        {"MX at 90 degrees", 90, 0, 100, 0, {304, 254}},
        {"4 degrees off 90", 90, 0, 100, 7, {304, 254}},
        {"tension P plots downwards", 0, 500, 0, 0, {267, 289}},
        {"no moment stays on the axis", 45, -1000, 0, 0, {267, 185}},
    };
    // A load at another moment angle is no point of the chart's plane: a cross where its
    // projection falls (MX at 0 degrees would sit on the M = 0 axis), and a legend line.
    for (const auto& [SANG, MX, MY] : {std::tuple{0.0, 100.0, 0.0}, std::tuple{90.0, 0.0, 100.0},
                                       std::tuple{90.0, 100.0, 10.0}}) {
        SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
        addLoad(m, 0, MX, MY);
        RecordingCanvas c;
        GEN_PM_CURVE_IMAGE(c, m, kScreen, SANG, LoadMarks{false, true});
        EXPECT_TRUE(c.callsOf(Kind::Ellipse).empty()) << SANG << " " << MX << " " << MY;
        EXPECT_TRUE(hasText(c, "x  other moment angle (beyond 5 degrees): its projection"));
    }
    for (const Case& k : cases) {
        SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
        addLoad(m, k.P, k.MX, k.MY);
        RecordingCanvas c;
        GEN_PM_CURVE_IMAGE(c, m, kScreen, k.SANG, LoadMarks{false, true});
        const auto circles = c.callsOf(Kind::Ellipse);
        ASSERT_EQ(circles.size(), 1u) << k.name;
        EXPECT_EQ(centre(circles[0]), k.at) << k.name;
        EXPECT_EQ(circles[0].points[1].x - circles[0].points[0].x, 8) << k.name << ": radius 4";
        EXPECT_EQ(circles[0].pen.color, colors::grey) << k.name;
        EXPECT_EQ(circles[0].brush.style, BrushStyle::Clear) << k.name;
    }
}

TEST(PmChart, CheckBoxesChooseTheCircles) {
    struct Case {
        const char* name;
        LoadMarks marks;
        int critical;
        std::size_t grey, blue;
        bool note;
    };
    const Case cases[] = {
        {"none", {false, false}, 2, 0, 0, false},
        {"all", {false, true}, 2, 3, 0, false},
        {"critical", {true, false}, 2, 0, 1, false},
        {"both draw the critical twice", {true, true}, 2, 3, 1, false},
        {"no check yet draws no critical", {true, true}, 0, 3, 0, true},
        {"a stale index draws no critical", {true, false}, 7, 0, 0, true},
    };
    for (const Case& k : cases) {
        SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
        addLoad(m, -100, 0, 20);  // moments about Y: the chart's angle 0
        addLoad(m, -200, 0, 40);
        addLoad(m, -300, 0, -60);
        m.results.CRITICAL_COMB = k.critical;
        RecordingCanvas c;
        GEN_PM_CURVE_IMAGE(c, m, kScreen, 0, k.marks);
        std::size_t grey = 0, blue = 0;
        for (const auto& e : c.callsOf(Kind::Ellipse))
            (e.pen.color == colors::blue ? blue : grey)++;
        EXPECT_EQ(grey, k.grey) << k.name;
        EXPECT_EQ(blue, k.blue) << k.name;
        EXPECT_EQ(hasText(c, NO_CRITICAL_NOTE), k.note) << k.name;
        if (k.grey && k.blue) {
            EXPECT_EQ(c.callsOf(Kind::Ellipse)[1].points, c.callsOf(Kind::Ellipse)[3].points)
                << k.name;
        }
    }
}

TEST(PmChart, PrintedChartScalesMarginsAndOffsetsBySeven) {
    SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
    addLoad(m, 0, 0, 0);
    m.results.CRITICAL_COMB = 1;
    RecordingCanvas c;
    PRINT_PM_CURVE_IMAGE_PDF(c, m, m.results, 3100, 1350, 5150, 3720, 90, LoadMarks{true, false});
    EXPECT_EQ(c.callsOf(Kind::Rectangle)[0].points,
              (std::vector<Point>{{3100, 1350}, {8250, 5070}}));
    const auto grid = linesWith(c, colors::grey, PenStyle::Dot);
    EXPECT_EQ(grid.front().points, (std::vector<Point>{{3660, 1910}, {3660, 4510}}))
        << "margin 560";
    EXPECT_EQ(grid[8].points[0].x, 7690);
    const auto* title = textCall(c, "P-M Curve [HK-COP-2013, control strain 0.005]");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->points[0], (Point{3170, 1420}));
    const auto ticks = linesWith(c, colors::blue, PenStyle::Dot);
    EXPECT_EQ(ticks[0].points[0].x - ticks[0].points[1].x, 35);
    const auto circles = c.callsOf(Kind::Ellipse);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].points[1].x - circles[0].points[0].x, 56) << "radius 28";
}

TEST(PmChart, CurvesWithoutScalesDrawAnEmptyChartWithANote) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<double> P, M;
        std::string note;
    };
    const Case cases[] = {
        {"no run", {}, {}, "No P-M curve to draw: run the P-M analysis."},
        {"all moments zero",
         {0, -100, 2000, -100},
         {0, 0, 0, 0},
         "No P-M curve to draw: all moments are zero."},
        {"axial forces round to one multiple",
         {0, 1000, 1000, 1000},
         {0, 5, -5, 5},
         "No P-M curve to draw: the axial forces span no range."},
        {"not numbers",
         {0, nan, nan, nan},
         {0, nan, nan, nan},
         "No P-M curve to draw: the curve holds no numbers."},
    };
    for (const Case& k : cases) {
        SectionModel m;
        m.results.PM_P = k.P;
        m.results.PM_M = k.M;
        addLoad(m, -100, 1, 1);
        m.results.CRITICAL_COMB = 1;
        RecordingCanvas c;
        ASSERT_NO_THROW(GEN_PM_CURVE_IMAGE(c, m, kScreen, 0, LoadMarks{true, true})) << k.name;
        EXPECT_EQ(c.callsOf(Kind::Rectangle).size(), 1u) << k.name;
        EXPECT_TRUE(c.callsOf(Kind::Line).empty()) << k.name;
        EXPECT_TRUE(c.callsOf(Kind::Ellipse).empty()) << k.name;
        EXPECT_EQ(c.texts(), (std::vector<std::string>{
                                 "P-M Curve [HK-COP-2013, control strain 0.005]", k.note}))
            << k.name;
    }
}

TEST(PmChart, PointsThatAreNotNumbersBreakTheCurveAndFarLoadsAreLeftOut) {
    SectionModel m = pmCurve(2345.6, -1234.5, 500, -500);
    m.results.PM_P[3] = std::numeric_limits<double>::quiet_NaN();
    addLoad(m, -1e300, 1e300, 0);
    RecordingCanvas c;
    ASSERT_NO_THROW(GEN_PM_CURVE_IMAGE(c, m, kScreen, 0, LoadMarks{false, true}));
    EXPECT_EQ(c.callsOf(Kind::Line).size() - 18 - 82 - 2, 2u) << "segments 1-2 and 4-5 only";
    EXPECT_TRUE(c.callsOf(Kind::Ellipse).empty());
}

TEST(MmChart, SymmetricScalesFixedOffsetsAndLoads) {
    SectionModel m;
    m.results.MM_MX = {0, 1234, 0, -1234, 0};
    m.results.MM_MY = {600, 0, -600, 0, 600};
    addLoad(m, -1040, 250, -250);
    m.results.CRITICAL_COMB = 1;
    RecordingCanvas c;
    c.font.name = "Courier New";
    GEN_MM_CURVE_IMAGE(c, m, kScreen, 1000, LoadMarks{true, true});
    EXPECT_TRUE(hasText(c, "-1600"));
    EXPECT_TRUE(hasText(c, "-600  ")) << "axial labels end in two blanks";
    EXPECT_TRUE(hasText(c, "Axial Load = 1000.00 kN"));
    EXPECT_TRUE(hasText(c, "Myy-Mxx Curve [HK-COP-2013, control strain 0.005]"));
    EXPECT_EQ(textCall(c, "Myy-Mxx Curve [HK-COP-2013, control strain 0.005]")->brush.style,
              BrushStyle::Solid)
        << "title on white";
    EXPECT_EQ(textCall(c, "Myy-Mxx Curve [HK-COP-2013, control strain 0.005]")->font.name,
              "Courier New")
        << "the canvas face";
    EXPECT_EQ(c.callsOf(Kind::Line).size() - 18 - 82 - 2, 4u);
    const auto circles = c.callsOf(Kind::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    // XMAX 1600, YMAX 800: SX = 374 / 3200, SY = 279 / 1600: (250, -250) lies at (296, 263).
    EXPECT_EQ(centre(circles[0]), (Point{296, 263}));
    // A load of another axial force (5000 kN against the chart's 1000): crosses and a legend.
    m.document.FORCE[1].P = -5000;
    RecordingCanvas other;
    GEN_MM_CURVE_IMAGE(other, m, kScreen, 1000, LoadMarks{true, true});
    EXPECT_TRUE(other.callsOf(Kind::Ellipse).empty());
    EXPECT_TRUE(hasText(other, "x  other axial force (beyond 5 %): its moments"));
    m.document.FORCE[1].P = -1040;
    // A load the check found beyond the capacity is drawn red, and the legend says so.
    m.document.FORCE[1].LOAD_FRACTION = 0.9;
    RecordingCanvas below;
    GEN_MM_CURVE_IMAGE(below, m, kScreen, 1000, LoadMarks{false, true});
    ASSERT_EQ(below.callsOf(Kind::Ellipse).size(), 1u);
    EXPECT_EQ(below.callsOf(Kind::Ellipse)[0].pen.color, colors::red);
    EXPECT_TRUE(hasText(below, "red  load fraction below 1: not carried"));

    RecordingCanvas printed;
    PRINT_MM_CURVE_IMAGE_PDF(printed, m, m.results, 8350, 5150, 5150, 3720, 1000, {});
    EXPECT_EQ(textCall(printed, "Myy-Mxx Curve [HK-COP-2013, control strain 0.005]")->points[0],
              (Point{8360, 5160}));
    const auto rotated = printed.callsOf(Kind::RotatedText);
    ASSERT_EQ(rotated.size(), 1u);
    EXPECT_EQ(rotated[0].font.size, 8);
    EXPECT_EQ(rotated[0].points[0].x, 8350 + 560 - 10 - 140);
    const auto ticks = linesWith(printed, colors::blue, PenStyle::Dot);
    EXPECT_EQ(ticks[0].points[0].x - ticks[0].points[1].x, 5) << "ticks are not scaled";
}

TEST(MmChart, TheVerticalAxisIsTheMomentAboutX) {
    // A deep section: the moment about X (MM_MY) reaches 1400, the one about Y (MM_MX) 400.
    SectionModel m;
    m.results.MM_MX = {0, 400, 0, -400, 0};
    m.results.MM_MY = {1400, 0, -1400, 0, 1400};
    RecordingCanvas c;
    GEN_MM_CURVE_IMAGE(c, m, kScreen, 1000, LoadMarks{});
    const auto rotated = c.callsOf(Kind::RotatedText);
    ASSERT_EQ(rotated.size(), 1u);
    EXPECT_EQ(rotated[0].text, "Moment Mxx[kNm]");
    EXPECT_TRUE(hasText(c, "Moment Myy[kNm]"));
    // The vertical labels (two trailing blanks) run to 1600, the horizontal ones to 400.
    EXPECT_TRUE(hasText(c, "1600  "));
    EXPECT_TRUE(hasText(c, "400"));
    EXPECT_FALSE(hasText(c, "1600"));
}

TEST(MmChart, ZeroMomentsDrawAnEmptyChart) {
    SectionModel m;
    m.results.MM_MX = {0, 0, 0};
    m.results.MM_MY = {0, 0, 0};
    RecordingCanvas c;
    ASSERT_NO_THROW(GEN_MM_CURVE_IMAGE(c, m, kScreen, 0, {}));
    EXPECT_TRUE(c.callsOf(Kind::Line).empty());
    EXPECT_TRUE(hasText(c, "No Myy-Mxx curve to draw: all moments are zero."));
}

TEST(InteractionCharts, CurvesTooLargeToScaleDrawAnEmptyChart) {
    struct Case {
        const char* name;
        std::vector<double> P, M, MX, MY;
    };
    const double big = 1e308;
    const Case cases[] = {
        {"axial forces", {0, -big, big, big, -big}, {0, 0, 500, -500, 0}, {}, {}},
        {"moments", {0, -1000, 2000, 2000, -1000}, {0, 0, big, -big, 0}, {}, {}},
        {"Myy-Mxx moments", {}, {}, {0, big, 0, -big, 0}, {600, 0, -600, 0, 600}},
    };
    for (const Case& k : cases) {
        SectionModel m;
        m.results.PM_P = k.P;
        m.results.PM_M = k.M;
        m.results.MM_MX = k.MX;
        m.results.MM_MY = k.MY;
        RecordingCanvas c;
        if (!k.P.empty()) {
            ASSERT_NO_THROW(GEN_PM_CURVE_IMAGE(c, m, kScreen, 0, LoadMarks{false, false}))
                << k.name;
            EXPECT_TRUE(hasText(c, "No P-M curve to draw: the curve is too large to plot."))
                << k.name;
        } else {
            ASSERT_NO_THROW(GEN_MM_CURVE_IMAGE(c, m, kScreen, 0, LoadMarks{false, false}))
                << k.name;
            EXPECT_TRUE(hasText(c, "No Myy-Mxx curve to draw: the curve is too large to plot."))
                << k.name;
        }
        EXPECT_TRUE(c.callsOf(Kind::Line).empty()) << k.name;
    }
}

// A point that did not converge gets one hollow circle centred on it, over the curve drawn as
// before; flags that all say converged change nothing.
TEST(InteractionCharts, UnconvergedPointsGetAHollowCircle) {
    SectionModel pm = pmCurve(2345.6, -1234.5, 500, -500), mphi;
    mphi.results.MPHI_PHI = {0, 0.001, 0.002, 0.004, 0.006};
    mphi.results.MPHI_M = {0, 150, 260, 300, 310};
    for (SectionModel* m : {&pm, &mphi}) {
        std::vector<uint8_t>& flags =
            m == &pm ? m->results.PM_CONVERGED : m->results.MPHI_CONVERGED;
        RecordingCanvas plain, same, marked;
        for (RecordingCanvas* c : {&plain, &same, &marked}) {
            if (c == &same) flags.assign(6, 1);
            if (c == &marked) flags[3] = 0;
            if (m == &pm)
                GEN_PM_CURVE_IMAGE(*c, *m, kScreen, 0, LoadMarks{false, false});
            else
                GEN_M_fai_CURVE_IMAGE(*c, *m, 534, 439, 4, 0);
        }
        EXPECT_EQ(same.calls().size(), plain.calls().size());
        ASSERT_EQ(marked.calls().size(), plain.calls().size() + 1);
        const auto circle = marked.callsOf(Kind::Ellipse).at(0);
        EXPECT_EQ(circle.brush.style, BrushStyle::Clear);
        const auto curve = linesWith(marked, colors::red, PenStyle::Solid);
        EXPECT_TRUE(std::any_of(curve.begin(), curve.end(), [&](const auto& l) {
            return l.points[1].x == centre(circle).x && l.points[1].y == centre(circle).y;
        }));
    }
}

// The code the section is under names the charts; only under ACI 318-19 do the nominal tables
// beside the design curve draw, dashed, with a legend, and does the M-Phi chart name its law.
// The same tables under another code are not drawn: HK-COP-2013 and BS-8110 charts stay.
TEST(InteractionCharts, CodeTitleAndDashedNominalUnderAciOnly) {
    struct Case {
        CodeId document;
        int designCode;
        const char* name;
        bool nominal;
    };
    const Case cases[] = {{CodeId::HkCop2013, 0, "HK-COP-2013", false},
                          {CodeId::HkCop2013, 1, "BS-8110", false},
                          {CodeId::Ec2, 1, "EN 1992-1-1", false},
                          {CodeId::Aci318, 0, "ACI 318-19", true}};
    for (const Case& c : cases) {
        SectionModel m = pmCurve(2345.6, -1234.5, 800, -800);
        m.document.CODE = c.document;
        m.settings.DESIGN_CODE = c.designCode;
        m.results.PM_NOM_P = {0, -1500, 3000, 3000, -1500, -1500};
        m.results.PM_NOM_M = {0, 0, 1600, -1600, 0, 0};
        m.results.MM_MX = {500, 0, -500, 0, 500};
        m.results.MM_MY = {0, 400, 0, -400, 0};
        m.results.MM_NOM_MX = {700, 0, -700, 0, 700};
        m.results.MM_NOM_MY = {0, 600, 0, -600, 0};
        m.results.MPHI_M = {0, 100, 200};
        m.results.MPHI_PHI = {0, 0.001, 0.002};
        m.document.NCONC_PT = 4;
        RecordingCanvas pm, mm, mphi;
        GEN_PM_CURVE_IMAGE(pm, m, kScreen, 0, {});
        GEN_MM_CURVE_IMAGE(mm, m, kScreen, 0, {});
        GEN_M_fai_CURVE_IMAGE(mphi, m, 534, 439, 2, 0);
        EXPECT_EQ(!mphiConcreteNote(m).empty() && hasText(mphi, mphiConcreteNote(m)), c.nominal);
        // A code with its own grades draws at its limits; the program's own at the control strain.
        const std::string tag =
            std::string(c.name) +
            (codeHasOwnTables(c.document) ? ", code limits]" : ", control strain 0.005]");
        EXPECT_TRUE(hasText(pm, "P-M Curve [" + tag)) << c.name;
        EXPECT_TRUE(hasText(mm, "Myy-Mxx Curve [" + tag)) << c.name;
        // The dashes are the chart's own short strokes, in its unit: a printed chart (unit 7)
        // has dashes seven times as long, not a pen pattern lost in its hairline.
        RecordingCanvas printed;
        GEN_PM_CURVE_IMAGE(printed, m, ChartFrame{0, 0, 534 * 7, 439 * 7, 7}, 0, {});
        for (const auto& [chart, unit] : {std::pair{&pm, 1}, {&mm, 1}, {&printed, 7}}) {
            int dashes = 0;
            for (const auto& l : linesWith(*chart, colors::red, PenStyle::Solid)) {
                const double length =
                    std::hypot(l.points[1].x - l.points[0].x, l.points[1].y - l.points[0].y);
                if (length > 4 * unit && length <= 6 * unit + 1) ++dashes;
            }
            EXPECT_EQ(dashes > 10, c.nominal) << c.name << " unit " << unit;
            EXPECT_EQ(hasText(*chart, "nominal strength"), c.nominal) << c.name;
        }
        EXPECT_EQ(hasText(pm, "3000"), c.nominal)
            << c.name << ": the scale holds the nominal curve";
    }
}

namespace {

// A canvas measuring text as a font of fixed advance does: w and h tenths of the point size a
// character and a line.
struct Measured : RecordingCanvas {
    int w = 0, h = 0;
    TextSize textExtent(const std::string& text) override {
        return {static_cast<int>(text.size()) * font.size * w / 10, font.size * h / 10};
    }
};

// Where a chart is drawn and how its texts measure there.
struct Way {
    const char* name;
    ChartFrame frame;
    int w, h;
};
// The screen's Courier New, and the 1200-dpi printer's.
constexpr Way WAYS[] = {{"screen", {0, 0, CHART_PICTURE_W, CHART_PICTURE_H, 1}, 8, 16},
                        {"printed", {3100, 1350, 5150, 3720, 7}, 100, 190}};

// The box of a text call (a turned text stands up from its point).
std::array<int, 4> textBox(Measured& c, const RecordingCanvas::Call& t) {
    c.font = t.font;
    const TextSize s = c.textExtent(t.text);
    const int x = t.points[0].x, y = t.points[0].y;
    return t.kind == Kind::Text ? std::array{x, y, x + s.width, y + s.height}
                                : std::array{x, y - s.width, x + s.height, y};
}

// No text covers another (a key point's label may stand on a tick label) and every text, line
// and circle stays inside the frame.
void expectTidy(Measured& c, const ChartFrame& f, const std::string& what) {
    auto inside = [&](int x, int y) {
        return x >= f.X0 && x <= f.X0 + f.W && y >= f.Y0 && y <= f.Y0 + f.H;
    };
    std::vector<std::pair<std::array<int, 4>, std::string>> boxes;
    for (const auto& t : c.calls()) {
        if (t.kind == Kind::Line || t.kind == Kind::Ellipse) {
            for (const Point& q : t.points)
                EXPECT_TRUE(inside(q.x, q.y)) << what << ": a line to " << q.x << "," << q.y;
        }
        if (t.kind != Kind::Text && t.kind != Kind::RotatedText) continue;
        const std::array<int, 4> box = textBox(c, t);
        EXPECT_TRUE(inside(box[0], box[1]) && inside(box[2], box[3]))
            << what << ": '" << t.text << "' leaves the frame";
        if (t.text == "P0" || t.text == "Pt" || t.text == "D" || t.text == "B" || t.text == "M0")
            continue;
        for (const auto& [b, other] : boxes)
            EXPECT_FALSE(box[0] < b[2] && b[0] < box[2] && box[1] < b[3] && b[1] < box[3])
                << what << ": '" << t.text << "' on '" << other << "'";
        boxes.push_back({box, t.text});
    }
}

// The P-M chart (with key points on screen) and the Myy-Mxx chart of the section, each way.
void expectChartsTidy(const SectionModel& m, const SectionResults& pm, const ChartMarkers& keys,
                      const std::string& what) {
    for (const Way& way : WAYS) {
        Measured pc, mc;
        pc.w = mc.w = way.w;
        pc.h = mc.h = way.h;
        GEN_PM_CURVE_IMAGE(pc, m, pm, way.frame, 0, LoadMarks{true, true},
                           way.frame.K == 1 ? keys : ChartMarkers{});
        expectTidy(pc, way.frame, what + " " + way.name + " P-M");
        GEN_MM_CURVE_IMAGE(mc, m, m.results, way.frame, 1000, LoadMarks{true, true},
                           way.frame.K > 1);
        expectTidy(mc, way.frame, what + " " + way.name + " Myy-Mxx");
    }
}

}  // namespace

// Each chart, on screen and printed (measured as the screen's and the 1200-dpi printer's Courier
// New are), under each code with the sample loads checked and marked: no text covers another,
// and every text and line stays inside the chart's frame.
TEST(InteractionCharts, TextsApartAndInsideTheFrameOnScreenAndPrinted) {
    for (const test::CodeChoice& code : {test::hkChoice(), test::ec2Choice(), test::aciChoice()})
        for (const char* name : {"rectangular_column", "circular_column", "steel_i_section"}) {
            SectionModel m = test::openedExample(name);
            test::putUnderCode(m, code);
            test::meshWith(m, {});
            IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
            addLoad(m, -30000, 3000, 1);  // far beyond the curves, and not carried
            NullMessages msgs;
            NullProgress progress;
            // ACI 318-19 checks no section without concrete.
            if (bareSteelRefusal(m).empty()) CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
            RUN_PM_CURVE_ANALYSIS(m, 0, msgs);
            const ChartMarkers keys = keyPointMarkers(PM_KEY_POINTS(m, 0, msgs));
            const SectionResults pm = m.results;
            RUN_MM_CURVE_ANALYSIS(m, 1000, msgs);
            const std::string what = std::string(name) + " " + codeName(code.code);
            expectChartsTidy(m, pm, keys, what);
            // The screen's other charts: M-Phi, and the three codes' P-M curves side by side.
            const ChartFrame screen = WAYS[0].frame;
            RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 500, mphiDefaultMaxStrain(m), 20}, msgs);
            Measured mphi, compared;
            mphi.w = compared.w = WAYS[0].w;
            mphi.h = compared.h = WAYS[0].h;
            GEN_M_fai_CURVE_IMAGE(mphi, m, screen.W, screen.H, 20, 0);
            EXPECT_GT(mphi.callsOf(Kind::Line).size(), 100u) << name << ": a curve drawn";
            expectTidy(mphi, screen, what + " M-Phi");
            if (code.code != CodeId::HkCop2013) continue;
            drawCodeComparison(compared, compareCodes(m, 30, msgs), screen);
            EXPECT_GT(compared.callsOf(Kind::Line).size(), 100u) << name << ": curves drawn";
            expectTidy(compared, screen, std::string(name) + " code comparison");
        }
}
