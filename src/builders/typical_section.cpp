#include "builders/typical_section.h"

#include <stdexcept>

#include "builders/bar_layouts.h"
#include "builders/model_writers.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/section_properties.h"

namespace qav {

namespace {
const std::vector<DimensionRow> kRectRows = {{"Section Dim B", "800", "B"},
                                             {"Section Dim H", "1000", "H"}};
const std::vector<DimensionRow> kIRows = {{"Overall depth(D)", "1000", "D"},
                                          {"Flange width(W)", "1000", "W"},
                                          {"Flange thickness(T)", "200", "T"},
                                          {"Web thickness(t)", "200", "t"}};
const std::vector<DimensionRow> kTaperTRows = {{"Overall depth(D)", "1000", "D"},
                                               {"Flange width(W)", "1000", "W"},
                                               {"Flange thick(T)", "200", "T"},
                                               {"Web thick Top(tt)", "400", "tt"},
                                               {"Web thick Bot(tb)", "300", "tb"}};
}  // namespace

const std::array<ShapeEntry, TYPICAL_SHAPES>& typicalShapes() {
    static const std::array<ShapeEntry, TYPICAL_SHAPES> shapes = {{
        {"Rectangle Column", kRectRows},
        {"Rectangel Beam", kRectRows},
        {"Circular Column", {{"Section Dia D(mm)", "800", "D"}}},
        {"I Section[3]", kIRows},
        {"T Section[4]", kIRows},
        {"Channel Section[5]", kIRows},
        {"Angle Section[6]", kIRows},
        {"Taper Section[7]",
         {{"Depth(D)", "1000", "D"},
          {"Top width(Wt)", "600", "Wt"},
          {"Bottom thickness(Wb)", "400", "Wb"}}},
        {"Ellipse Section[8]", {{"Depth(D)", "1000", "D"}, {"Width(W)", "600", "W"}}},
        {"General I Section[9]",
         {{"Overall depth(D)", "2000", "D"},
          {"Flange width Top(Wt)", "1200", "Wt"},
          {"Flange width Bot(Wb)", "1600", "Wb"},
          {"Flange thick Top(Tt)", "200", "Tt"},
          {"Flange thick Bot(Tb)", "200", "Tb"},
          {"Web thick(t)", "200", "t"}}},
        {"Taper T Section[10]", kTaperTRows},
        {"Taper Angle Section[11]", kTaperTRows},
        {"Taper I Section[12]",
         {{"Overall depth(D)", "1000", "D"},
          {"Flange width Top(Wt)", "1000", "Wt"},
          {"Flange width Bot(Wb)", "800", "Wb"},
          {"Flange thick Top(Tt)", "200", "Tt"},
          {"Flange thick Bot(Tb)", "150", "Tb"},
          {"Web thick Top(tt)", "300", "tt"},
          {"Web thick Bot(tb)", "250", "tb"}}},
        {"Recto Circular Section[13]", {{"Depth(D)", "1200", "D"}, {"Width(W)", "600", "W"}}},
        {"Recto Circular Ellipse[14]",
         {{"Depth(D)", "1600", "D"},
          {"Depth flat(d)", "1400", "d"},
          {"Width(W)", "1000", "W"},
          {"Width flat(w)", "800", "w"}}},
    }};
    return shapes;
}

BarGroupCaptions typicalBarGroups(int shape) {
    switch (shape) {
        case 0:
            return {"X-Dir Rebar", "Y-Dir Rebar", "Corner Rebar", "2", "2"};
        case 1:
            return {"Top Rebar", "Bot Rebar", "Side Rebar", "2", "2"};
        case 2:
            return {"Main Rebar", "", "", "12", ""};
        default:
            return {};
    }
}

namespace {
std::string kedit(int row) {
    return "KEdit" + std::to_string(row + 1);
}

void checkShape(int shape) {
    if (shape < 0 || shape >= TYPICAL_SHAPES)
        throw InputError("There is no section shape " + std::to_string(shape) + " (0.." +
                         std::to_string(TYPICAL_SHAPES - 1) + ").");
}
}  // namespace

BoxTexts typicalDialogTexts() {
    BoxTexts t = {{"Edit3", "35"}, {"Edit13", "24"}, {"Edit14", "25"}, {"Edit15", "0"},
                  {"Edit4", "1"},  {"Edit5", "2"},   {"Edit6", "25"},  {"Edit7", "1"},
                  {"Edit8", "2"},  {"Edit9", "25"},  {"Edit10", "1"},  {"Edit11", "25"},
                  {"Edit12", "25"}};
    const char* kedits[DIMENSION_ROWS] = {"800", "1200", "800", "1200", "800", "1200", "1200"};
    for (int i = 0; i < DIMENSION_ROWS; ++i) t[kedit(i)] = kedits[i];
    return t;
}

void typicalShapeChange(BoxTexts& texts, int shape) {
    checkShape(shape);
    for (int i = 0; i < DIMENSION_ROWS; ++i) texts[kedit(i)] = "0";
    const auto& rows = typicalShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) texts[kedit(static_cast<int>(i))] = rows[i].value;
    const BarGroupCaptions g = typicalBarGroups(shape);
    if (!g.firstNumber.empty()) texts["Edit5"] = g.firstNumber;
    if (!g.secondNumber.empty()) texts["Edit8"] = g.secondNumber;
}

BoxCaptions typicalCaptions(int shape) {
    checkShape(shape);
    BoxCaptions c = {{"Edit3", "Rebar Distance d1(mm)"}, {"Edit14", "Typical Rebar Diameter"}};
    const auto& rows = typicalShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) c[kedit(static_cast<int>(i))] = rows[i].label;
    if (shape > 2) return c;
    c["Edit13"] = "Circle Section Mesh Num";
    c["Edit12"] = "Row Spacer";
    const BarGroupCaptions g = typicalBarGroups(shape);
    const struct {
        const char* box;
        const std::string& group;
        const char* column;
    } bars[] = {{"Edit4", g.first, " Row"},      {"Edit5", g.first, " Number"},
                {"Edit6", g.first, " Diameter"}, {"Edit7", g.second, " Row"},
                {"Edit8", g.second, " Number"},  {"Edit9", g.second, " Diameter"},
                {"Edit10", g.third, " Number"},  {"Edit11", g.third, " Diameter"}};
    for (const auto& b : bars)
        if (!b.group.empty()) c[b.box] = b.group + b.column;
    return c;
}

TypicalParams readTypicalParams(int shape, const BoxTexts& texts) {
    checkShape(shape);
    const BoxCaptions captions = typicalCaptions(shape);
    const BoxReader r(texts, captions);
    TypicalParams p;
    p.shape = shape;
    if (shape <= 2) {
        // The circle hides its second dimension and its second bar group and has no use for the
        // third: a box the user cannot see or that changes nothing must not stop the build.
        p.dim[0] = r.real("KEdit1");
        if (shape != 2) p.dim[1] = r.real("KEdit2");
        // The circle's mesh count is checked like every count but the outline keeps 24 corners.
        (void)r.count("Edit13");
        p.typicalDia = r.real("Edit14");
        p.s = r.real("Edit12");
        p.d1 = r.real("Edit3");
        p.nRx = r.count("Edit4");
        p.nx = r.count("Edit5");
        p.dx = r.real("Edit6");
        if (shape == 2) return p;
        p.nRy = r.count("Edit7");
        p.ny = r.count("Edit8");
        p.dy = r.real("Edit9");
        p.nc = r.count("Edit10");
        p.dc = r.real("Edit11");
        return p;
    }
    p.d1 = r.real("Edit3");
    const auto& rows = typicalShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) p.dim[i] = r.real(kedit(static_cast<int>(i)));
    p.typicalDia = r.real("Edit14");
    return p;
}

namespace {

// One dimension row held below (or up to) what the other rows of its shape leave for it.
struct Proportion {
    std::size_t row;
    Bound bound;
    To to = To::Below;
};

// What each shape needs of its rows to stay one simple outline: flanges thinner than the depth
// leaves for them, webs narrower than their flanges, flat parts no longer than the whole.
std::vector<Proportion> proportions(const TypicalParams& p) {
    const auto& rows = typicalShapes()[static_cast<std::size_t>(p.shape)].rows;
    const auto& v = p.dim;
    auto half = [&](std::size_t i) { return Bound{v[i] / 2, "half of " + rows[i].label}; };
    auto whole = [&](std::size_t i) { return Bound{v[i], "the " + rows[i].label}; };
    auto less = [&](std::size_t i, std::size_t j) {
        return Bound{v[i] - v[j], rows[i].label + " less " + rows[j].label};
    };
    switch (p.shape) {
        case 3:
            return {{2, half(0)}, {2, whole(1)}};  // the web is T thick too
        case 4:
        case 6:
            return {{2, whole(0)}, {3, whole(1)}};
        case 5:
            return {{2, half(0)}, {3, whole(1)}};
        case 9:
            return {{4, whole(0)}, {3, less(0, 4)}, {5, whole(1)}, {5, whole(2)}};
        case 10:
            return {{2, whole(0)}, {3, whole(1)}};
        case 11:
            return {{2, whole(0)}, {4, whole(1)}};
        case 12:
            return {{4, whole(0)}, {3, less(0, 4)}, {5, whole(1)}, {6, whole(2)}};
        case 13:
            return {{1, whole(0)}};
        case 14:
            return {{1, whole(0), To::UpTo}, {3, whole(2), To::UpTo}};
        default:
            return {};
    }
}

// The cover line stays inside the outline while d1 is less than half the thinnest part the bars
// line (a flange, a web, the whole width of a solid shape).
Bound coverRoom(const TypicalParams& p) {
    static const std::vector<std::size_t> parts[TYPICAL_SHAPES] = {
        {0, 1}, {0, 1},    {0},       {2},       {2, 3},       {2, 3}, {2, 3}, {0, 1, 2},
        {0, 1}, {3, 4, 5}, {2, 3, 4}, {2, 3, 4}, {3, 4, 5, 6}, {1},    {0, 2}};
    const auto& rows = typicalShapes()[static_cast<std::size_t>(p.shape)].rows;
    Bound room{MAX_LENGTH_MM, ""};
    for (std::size_t i : parts[p.shape])
        if (p.dim[i] / 2 < room.value) room = {p.dim[i] / 2, "half of " + rows[i].label};
    return room;
}

}  // namespace

void checkTypicalParams(const TypicalParams& p) {
    checkShape(p.shape);
    const BoxCaptions cap = typicalCaptions(p.shape);
    const auto& rows = typicalShapes()[static_cast<std::size_t>(p.shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // The flat parts of the recto-circular ellipse may be 0 (a plain ellipse).
        if (p.shape == 14 && (i == 1 || i == 3))
            requireNotNegative(p.dim[i], rows[i].label);
        else
            requirePositive(p.dim[i], rows[i].label);
    }
    for (const Proportion& q : proportions(p)) {
        const bool flat = p.shape == 14;
        requireWithin(p.dim[q.row], rows[q.row].label, flat ? From::Zero : From::AboveZero, q.to,
                      q.bound);
    }
    requireWithin(p.d1, cap.at("Edit3"), From::Zero, To::Below, coverRoom(p));
    // A bar thicker than twice its cover distance would stand out of the concrete. A corner
    // bundle is held bar by bar: its bars sit round the corner, not in one circle.
    const Bound barRoom{2 * p.d1, "twice Rebar Distance d1(mm)"};
    auto requireDiameter = [&](double db, const char* box) {
        requireWithin(db, cap.at(box), From::Zero, To::UpTo, barRoom);
    };
    if (p.shape >= 3) {
        requireDiameter(p.typicalDia, "Edit14");
        return;
    }
    const BarGroupCaptions g = typicalBarGroups(p.shape);
    requireNotNegative(p.s, cap.at("Edit12"));
    requireCountNotNegative(p.nRx, cap.at("Edit4"));
    requireCountNotNegative(p.nx, cap.at("Edit5"));
    requireDiameter(p.dx, "Edit6");
    const double D = p.dim[0], B = p.dim[0], H = p.dim[1];
    if (p.shape == 2) {
        requireRowsFit(p.s, cap.at("Edit12"), {{p.nRx, D / 2 - p.d1, g.first}});
        requireLayoutBars(barsOf({p.nRx, p.nx, 0}));
        return;
    }
    requireCountNotNegative(p.nRy, cap.at("Edit7"));
    requireCountNotNegative(p.ny, cap.at("Edit8"));
    requireDiameter(p.dy, "Edit9");
    requireCountNotNegative(p.nc, cap.at("Edit10"));
    requireDiameter(p.dc, "Edit11");
    if (p.shape == 1) {
        // A beam row runs from corner to corner: one bar alone has no spacing.
        if (p.nRx > 0 && p.nx == 1)
            throw InputError("Top Rebar needs at least 2 bars per row (or 0 rows).");
        if (p.nRy > 0 && p.ny == 1)
            throw InputError("Bot Rebar needs at least 2 bars per row (or 0 rows).");
    }
    // Column: the second group's rows step in from the sides; beam: both groups from the faces.
    requireRowsFit(
        p.s, cap.at("Edit12"),
        {{p.nRx, H / 2 - p.d1, g.first}, {p.nRy, (p.shape == 0 ? B : H) / 2 - p.d1, g.second}});
    const double x = barsOf({p.nRx, p.nx, 0}), y = barsOf({p.nRy, p.ny, 0});
    requireLayoutBars(p.shape == 0 ? 2 * x + 2 * y + 4 : x + y + 2.0 * p.nc);
}

SectionGeometry typicalGeometry(const TypicalParams& p) {
    const auto& v = p.dim;
    const double d1 = p.d1;
    SectionGeometry g;
    switch (p.shape) {
        case 0:
        case 1: {
            const double B = v[0], H = v[1];
            g.outline = rectangleClockwise(B, H);
            g.cover = rectangleAnticlockwise(B - 2 * d1, H - 2 * d1);
            if (p.shape == 0)
                g.bars =
                    columnBars(B, H, d1, p.s, {p.nRx, p.nx, p.dx}, {p.nRy, p.ny, p.dy}, p.nc, p.dc);
            else
                g.bars =
                    beamBars(B, H, d1, p.s, {p.nRx, p.nx, p.dx}, {p.nRy, p.ny, p.dy}, p.nc, p.dc);
            return g;
        }
        case 2: {
            // The mesh number box is read but the circle always has 24 corners.
            const double D = v[0];
            g.outline = arc(0, 0, D / 2, D / 2, 15, 15, 24);
            g.cover = arc(0, 0, D / 2 - d1, D / 2 - d1, 0, 15, 24);
            g.bars = ringBars(D, d1, p.s, {p.nRx, p.nx, p.dx});
            return g;
        }
        case 3:
        case 4:
        case 5:
        case 6: {
            const double D = v[0], W = v[1], T = v[2], t = v[3];
            if (p.shape == 3) {
                // The web of this shape has always been drawn T thick; stored sections rely on it.
                g.outline = taperedI(D, W, W, T, T, T, T);
                g.cover = taperedICover(D, W, W, T, T, T, T, d1);
            } else if (p.shape == 4) {
                g.outline = taperedT(D, W, T, t, t);
                g.cover = taperedTCover(D, W, T, t, t, d1);
            } else if (p.shape == 5) {
                g.outline = channel(D, W, T, t);
                g.cover = channelCover(D, W, T, t, d1);
            } else {
                g.outline = taperedAngle(D, W, T, t, t);
                g.cover = taperedAngleCover(D, W, T, t, t, d1);
            }
            break;
        }
        case 7: {
            const double D = v[0], Wt = v[1], Wb = v[2];
            g.outline = {{-Wb / 2, -D / 2}, {0, -D / 2}, {Wb / 2, -D / 2}, {(Wt + Wb) / 4, 0},
                         {Wt / 2, D / 2},   {0, D / 2},  {-Wt / 2, D / 2}, {-(Wt + Wb) / 4, 0}};
            g.cover = {{-Wb / 2 + d1, -D / 2 + d1}, {0, -D / 2 + d1},
                       {Wb / 2 - d1, -D / 2 + d1},  {(Wt + Wb) / 4 - d1, 0},
                       {Wt / 2 - d1, D / 2 - d1},   {0, D / 2 - d1},
                       {-Wt / 2 + d1, D / 2 - d1},  {-(Wt + Wb) / 4 + d1, 0}};
            break;
        }
        case 8: {
            const double D = v[0], W = v[1];
            g.outline = arc(0, 0, W / 2, D / 2, 0, 15, 24);
            g.cover = arc(0, 0, W / 2 - d1, D / 2 - d1, 0, 30, 12);
            break;
        }
        case 9:
        case 12: {
            const double D = v[0], Wt = v[1], Wb = v[2], Tt = v[3], Tb = v[4];
            const double tt = v[5], tb = p.shape == 9 ? v[5] : v[6];
            g.outline = taperedI(D, Wt, Wb, Tt, Tb, tt, tb);
            g.cover = taperedICover(D, Wt, Wb, Tt, Tb, tt, tb, d1);
            break;
        }
        case 10:
        case 11: {
            const double D = v[0], W = v[1], T = v[2], tt = v[3], tb = v[4];
            if (p.shape == 10) {
                g.outline = taperedT(D, W, T, tt, tb);
                g.cover = taperedTCover(D, W, T, tt, tb, d1);
            } else {
                g.outline = taperedAngle(D, W, T, tt, tb);
                g.cover = taperedAngleCover(D, W, T, tt, tb, d1);
            }
            break;
        }
        case 13: {
            const double D = v[0], W = v[1];
            const double yb = -D / 2 + W / 2, yt = D / 2 - W / 2;
            auto ring = [&](double r) {
                Corners c = arc(0, yb, r, r, 180, 15, 13);
                c.push_back({r, 0});
                appendArc(c, 0, yt, r, r, 0, 15, 13);
                c.push_back({-r, 0});
                return c;
            };
            g.outline = ring(W / 2);
            g.cover = ring(W / 2 - d1);
            break;
        }
        case 14: {
            const double D = v[0], d = v[1], W = v[2], w = v[3];
            const double a = (W - w) / 2, b = (D - d) / 2;
            auto ring = [&](double sa, double sb, double halfW, double halfD) {
                Corners c;
                appendArc(c, -w / 2, -d / 2, sa, sb, 180, 15, 7);
                c.push_back({0, -halfD});
                appendArc(c, w / 2, -d / 2, sa, sb, 270, 15, 7);
                c.push_back({halfW, 0});
                appendArc(c, w / 2, d / 2, sa, sb, 0, 15, 7);
                c.push_back({0, halfD});
                appendArc(c, -w / 2, d / 2, sa, sb, 90, 15, 7);
                c.push_back({-halfW, 0});
                return c;
            };
            g.outline = ring(a, b, W / 2, D / 2);
            g.cover = ring(a - d1, b - d1, W / 2 - d1, D / 2 - d1);
            break;
        }
        default:
            throw std::logic_error("unknown typical shape");
    }
    // Every cover point of these shapes carries one bar of the typical diameter.
    for (const TPOS& c : g.cover) {
        TBAR b;
        b.X = c.X;
        b.Y = c.Y;
        b.DB = p.typicalDia;
        g.bars.push_back(b);
    }
    return g;
}

void buildTypicalSection(SectionModel& m, int shape, const BoxTexts& texts) {
    const TypicalParams p = readTypicalParams(shape, texts);
    checkTypicalParams(p);
    const SectionGeometry g = typicalGeometry(p);
    requireAcceptedShape(g.outline, g.bars);
    requireAcceptedShape(g.cover);
    CLEAR_MODEL(m);
    writeConcrete(m, g.outline, g.cover, g.bars);
    CALC_POLY_CENTER_POINT(m);
    CALC_POLY_ZONE(m);
}

}  // namespace qav
