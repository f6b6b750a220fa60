// The state picture: each fibre's colour follows the sign of its stress, the legend spans the
// state's stresses, the limit points are marked and the neutral axis is drawn.
#include "reports/state_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "../analysis/code_sections.h"
#include "../analysis/hand_section.h"
#include "canvas/recording_canvas.h"
#include "model/number_text.h"

namespace qav {
namespace {

using Kind = RecordingCanvas::Kind;

enum class Hue { White, Grey, Red, Blue, Other };
Hue hue(Color c) {
    if (c == colors::white) return Hue::White;
    if (c.r == c.g && c.g == c.b && c.r > 200) return Hue::Grey;
    if (c.r == 255 && c.g == c.b && c.g < 255) return Hue::Red;
    if (c.b == 255 && c.r == c.g && c.r < 255) return Hue::Blue;
    return Hue::Other;
}
Hue expected(double stress) {
    return stress > 0 ? Hue::Red : stress < 0 ? Hue::Blue : Hue::Grey;
}

TEST(StatePicture, FibreColoursFollowTheSignOfTheStress) {
    test::HandColumn h = test::symmetricColumn();
    SectionModel m = test::handRectangle(h);
    // Triangles for the picture: each square fibre's lower-left half is enough to be seen.
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        TFIB& f = m.mesh.FIB[j];
        if (f.TY != FIB_CORE_CONCRETE) continue;
        f.POS[0] = {f.X - 10, f.Y - 10};
        f.POS[1] = {f.X + 10, f.Y - 10};
        f.POS[2] = {f.X - 10, f.Y + 10};
    }
    NullMessages msgs;
    const SectionState s = SECTION_STATE(m, 500, 0, 350, 0, 0, 0, msgs);
    RecordingCanvas c;
    drawSectionState(c, m, s, STATE_PICTURE_W, STATE_PICTURE_H);

    const auto polygons = c.callsOf(Kind::Polygon);
    const auto ellipses = c.callsOf(Kind::Ellipse);
    std::size_t p = 0, e = 0;
    int compressed = 0, tensile = 0, zero = 0;
    for (const FibreStateRow& r : s.fibres) {
        const bool bar = r.TY == FIB_REBAR;
        const auto& call = bar ? ellipses.at(e++) : polygons.at(p++);
        EXPECT_EQ(hue(call.brush.color), expected(r.stress))
            << "fibre " << r.number << " stress " << r.stress;
        (r.stress > 0 ? compressed : r.stress < 0 ? tensile : zero) += 1;
        // Concrete has no edge of its own colour; steel is edged dark.
        EXPECT_EQ(call.pen.color, bar ? colors::black : call.brush.color);
    }
    // The case has all three: compressed concrete, cracked concrete, bars in tension.
    EXPECT_GT(compressed, 0);
    EXPECT_GT(tensile, 0);
    EXPECT_GT(zero, 0);

    // Control points: the ones at the limit strain marked green and larger.
    int marked = 0;
    for (const auto& call : ellipses)
        if (call.brush.color == Color{0, 160, 0}) ++marked;
    int atLimit = 0;
    for (const auto& cp : s.controlPoints) atLimit += cp.atLimit ? 1 : 0;
    EXPECT_EQ(marked, atLimit);
    EXPECT_EQ(atLimit, 2);  // the two top corners of a column bent about X

    // The legend ends at the largest stress, both signs; the neutral axis is labelled.
    const double scale = stressScale(s);
    EXPECT_EQ(scale, 435);
    const auto texts = c.texts();
    for (const std::string& label :
         {Format("%0.1F", {scale}), Format("%0.1F", {-scale}), std::string("N.A.")})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
}

// The profile meets the limit the solver held the state to: the control strain, or under the
// code's limits the concrete's ultimate strain, or the pivot of a wholly compressed section.
TEST(StatePicture, ProfileMeetsTheLimitTheSolverHeldItTo) {
    const test::CodeChoice control{CodeId::HkCop2013, "", "", "", StrainLimit::Control};
    for (const auto& [code, P, M, pivot] : {std::tuple{control, 3000.0, 500.0, false},
                                            {test::hkChoice(), 3000.0, 500.0, false},
                                            {test::ec2Choice(), 3000.0, 500.0, false},
                                            {test::ec2Choice(), 12000.0, 50.0, true}}) {
        const SectionModel m = test::codeExample("rectangular_column", code);
        NullMessages msgs;
        RecordingCanvas c;
        drawSectionState(c, m, SECTION_STATE(m, P, M, 0.4 * M, 0, 0, 0, msgs), STATE_PICTURE_W,
                         STATE_PICTURE_H);
        std::vector<RecordingCanvas::Call> profile, limits;
        for (const auto& call : c.callsOf(Kind::Line)) {
            if (call.pen == Pen{colors::black, 2, PenStyle::Solid}) profile.push_back(call);
            if (call.pen.color == Color{0, 160, 0}) limits.push_back(call);
        }
        ASSERT_FALSE(profile.empty() || limits.empty()) << P;
        const Point low = profile[0].points[0], high = profile[0].points[1];
        auto onProfile = [&](Point p) {
            const double x = low.x + (high.x - low.x) * double(p.y - low.y) / (high.y - low.y);
            return p.y > high.y + 5 && p.y < low.y - 5 && std::fabs(x - p.x) <= 1.5;
        };
        bool met = false;
        for (const auto& l : limits)
            for (const Point& p : l.points)
                met =
                    met || (pivot ? onProfile(p) : l.points[0].x == l.points[1].x && p.x == high.x);
        EXPECT_TRUE(met) << codeName(code.code) << " " << P;
    }
}

TEST(StatePicture, ColourScaleIsDivergingAndNeverWhiteForAStress) {
    EXPECT_EQ(stressColor(0, 435), colors::white);
    EXPECT_EQ(stressColor(435, 435), (Color{255, 0, 0}));
    EXPECT_EQ(stressColor(-435, 435), (Color{0, 0, 255}));
    EXPECT_EQ(stressColor(1000, 435), (Color{255, 0, 0}));  // beyond the scale: its end
    EXPECT_EQ(hue(stressColor(1e-9, 435)), Hue::Red);
    EXPECT_EQ(hue(stressColor(-1e-9, 435)), Hue::Blue);
    EXPECT_EQ(stressColor(std::nan(""), 435), colors::white);
    // Weaker stresses are paler.
    EXPECT_GT(stressColor(10, 435).g, stressColor(100, 435).g);
}

}  // namespace
}  // namespace qav
