#include "builders/typical_section.h"

#include <cctype>

#include "builders/bar_layouts.h"
#include "builders/model_writers.h"
#include "builders/shape_picture.h"
#include "mesh/polygon_checks.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/section_properties.h"

namespace qav {

namespace {
// Each shape's outline and cover line from its rows (in the shape's row order) and d1.

ShapeOutline rectangleShape(const Dimensions& v, double d1) {
    const double B = v[0], H = v[1];
    return {rectangleClockwise(B, H), rectangleAnticlockwise(B - 2 * d1, H - 2 * d1)};
}

ShapeOutline circleShape(const Dimensions& v, double d1) {
    // The mesh number box is read but the circle always has 24 corners.
    const double D = v[0];
    return {arc(0, 0, D / 2, D / 2, 15, 15, 24), arc(0, 0, D / 2 - d1, D / 2 - d1, 0, 15, 24)};
}

ShapeOutline iShape(const Dimensions& v, double d1) {
    // The web of this shape has always been drawn T thick; stored sections rely on it.
    const double D = v[0], W = v[1], T = v[2];
    return {taperedI(D, W, W, T, T, T, T), taperedICover(D, W, W, T, T, T, T, d1)};
}

ShapeOutline tShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1], T = v[2], t = v[3];
    return {taperedT(D, W, T, t, t), taperedTCover(D, W, T, t, t, d1)};
}

ShapeOutline channelShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1], T = v[2], t = v[3];
    return {channel(D, W, T, t), channelCover(D, W, T, t, d1)};
}

ShapeOutline angleShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1], T = v[2], t = v[3];
    return {taperedAngle(D, W, T, t, t), taperedAngleCover(D, W, T, t, t, d1)};
}

ShapeOutline taperShape(const Dimensions& v, double d1) {
    const double D = v[0], Wt = v[1], Wb = v[2];
    return {{{-Wb / 2, -D / 2},
             {0, -D / 2},
             {Wb / 2, -D / 2},
             {(Wt + Wb) / 4, 0},
             {Wt / 2, D / 2},
             {0, D / 2},
             {-Wt / 2, D / 2},
             {-(Wt + Wb) / 4, 0}},
            {{-Wb / 2 + d1, -D / 2 + d1},
             {0, -D / 2 + d1},
             {Wb / 2 - d1, -D / 2 + d1},
             {(Wt + Wb) / 4 - d1, 0},
             {Wt / 2 - d1, D / 2 - d1},
             {0, D / 2 - d1},
             {-Wt / 2 + d1, D / 2 - d1},
             {-(Wt + Wb) / 4 + d1, 0}}};
}

ShapeOutline ellipseShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1];
    return {arc(0, 0, W / 2, D / 2, 0, 15, 24), arc(0, 0, W / 2 - d1, D / 2 - d1, 0, 30, 12)};
}

ShapeOutline generalIShape(const Dimensions& v, double d1) {
    const double D = v[0], Wt = v[1], Wb = v[2], Tt = v[3], Tb = v[4], t = v[5];
    return {taperedI(D, Wt, Wb, Tt, Tb, t, t), taperedICover(D, Wt, Wb, Tt, Tb, t, t, d1)};
}

ShapeOutline taperTShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1], T = v[2], tt = v[3], tb = v[4];
    return {taperedT(D, W, T, tt, tb), taperedTCover(D, W, T, tt, tb, d1)};
}

ShapeOutline taperAngleShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1], T = v[2], tt = v[3], tb = v[4];
    return {taperedAngle(D, W, T, tt, tb), taperedAngleCover(D, W, T, tt, tb, d1)};
}

ShapeOutline taperIShape(const Dimensions& v, double d1) {
    const double D = v[0], Wt = v[1], Wb = v[2], Tt = v[3], Tb = v[4], tt = v[5], tb = v[6];
    return {taperedI(D, Wt, Wb, Tt, Tb, tt, tb), taperedICover(D, Wt, Wb, Tt, Tb, tt, tb, d1)};
}

// Two half circles W wide joined by straight sides, D long overall.
ShapeOutline rectoCircularShape(const Dimensions& v, double d1) {
    const double D = v[0], W = v[1];
    const double yb = -D / 2 + W / 2, yt = D / 2 - W / 2;
    auto ring = [&](double r) {
        Corners c = arc(0, yb, r, r, 180, 15, 13);
        c.push_back({r, 0});
        appendArc(c, 0, yt, r, r, 0, 15, 13);
        c.push_back({-r, 0});
        return c;
    };
    return {ring(W / 2), ring(W / 2 - d1)};
}

// Four quarter ellipses joined by flats d (along y) and w (along x).
ShapeOutline rectoCircularEllipseShape(const Dimensions& v, double d1) {
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
    return {ring(a, b, W / 2, D / 2), ring(a - d1, b - d1, W / 2 - d1, D / 2 - d1)};
}

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

constexpr auto Typical = BuilderKind::Typical;
constexpr auto Half = Part::Half;
constexpr auto Whole = Part::Whole;
constexpr auto Less = Part::Less;
}  // namespace

// Proportions: what each shape needs of its rows to stay one simple outline (flanges thinner
// than the depth leaves for them, webs narrower than their flanges, flat parts no longer than
// the whole). Cover parts: the cover line stays inside the outline while d1 is less than half
// the thinnest part the bars line (a flange, a web, the whole width of a solid shape).
const std::array<ShapeDescriptor, TYPICAL_SHAPES>& typicalShapes() {
    static const std::array<ShapeDescriptor, TYPICAL_SHAPES> shapes = {{
        {Typical,
         0,
         "Rectangle Column",
         "rectangle",
         kRectRows,
         {},
         {0, 1},
         {},
         rectangleShape,
         marks::outerBH,
         BarLayout::Column},
        {Typical,
         1,
         "Rectangel Beam",
         "rectangle-beam",
         kRectRows,
         {},
         {0, 1},
         {},
         rectangleShape,
         marks::outerBH,
         BarLayout::Beam},
        {Typical,
         2,
         "Circular Column",
         "circle",
         {{"Section Dia D(mm)", "800", "D"}},
         {},
         {0},
         {},
         circleShape,
         marks::diameter,
         BarLayout::Ring},
        // The web is T thick too.
        {Typical,
         3,
         "I Section[3]",
         "i-section",
         kIRows,
         {{2, Half, 0}, {2, Whole, 1}},
         {2},
         {},
         iShape,
         marks::iSection},
        {Typical,
         4,
         "T Section[4]",
         "t-section",
         kIRows,
         {{2, Whole, 0}, {3, Whole, 1}},
         {2, 3},
         {},
         tShape,
         marks::tSection},
        {Typical,
         5,
         "Channel Section[5]",
         "channel",
         kIRows,
         {{2, Half, 0}, {3, Whole, 1}},
         {2, 3},
         {},
         channelShape,
         marks::channel},
        {Typical,
         6,
         "Angle Section[6]",
         "angle",
         kIRows,
         {{2, Whole, 0}, {3, Whole, 1}},
         {2, 3},
         {},
         angleShape,
         marks::angle},
        {Typical,
         7,
         "Taper Section[7]",
         "taper",
         {{"Depth(D)", "1000", "D"},
          {"Top width(Wt)", "600", "Wt"},
          {"Bottom thickness(Wb)", "400", "Wb"}},
         {},
         {0, 1, 2},
         {},
         taperShape,
         marks::taper},
        {Typical,
         8,
         "Ellipse Section[8]",
         "ellipse",
         {{"Depth(D)", "1000", "D"}, {"Width(W)", "600", "W"}},
         {},
         {0, 1},
         {},
         ellipseShape,
         marks::outerDW},
        {Typical,
         9,
         "General I Section[9]",
         "general-i",
         {{"Overall depth(D)", "2000", "D"},
          {"Flange width Top(Wt)", "1200", "Wt"},
          {"Flange width Bot(Wb)", "1600", "Wb"},
          {"Flange thick Top(Tt)", "200", "Tt"},
          {"Flange thick Bot(Tb)", "200", "Tb"},
          {"Web thick(t)", "200", "t"}},
         {{4, Whole, 0}, {3, Less, 0, 4}, {5, Whole, 1}, {5, Whole, 2}},
         {3, 4, 5},
         {},
         generalIShape,
         marks::generalI},
        {Typical,
         10,
         "Taper T Section[10]",
         "taper-t",
         kTaperTRows,
         {{2, Whole, 0}, {3, Whole, 1}},
         {2, 3, 4},
         {},
         taperTShape,
         marks::taperT},
        {Typical,
         11,
         "Taper Angle Section[11]",
         "taper-angle",
         kTaperTRows,
         {{2, Whole, 0}, {4, Whole, 1}},
         {2, 3, 4},
         {},
         taperAngleShape,
         marks::taperAngle},
        {Typical,
         12,
         "Taper I Section[12]",
         "taper-i",
         {{"Overall depth(D)", "1000", "D"},
          {"Flange width Top(Wt)", "1000", "Wt"},
          {"Flange width Bot(Wb)", "800", "Wb"},
          {"Flange thick Top(Tt)", "200", "Tt"},
          {"Flange thick Bot(Tb)", "150", "Tb"},
          {"Web thick Top(tt)", "300", "tt"},
          {"Web thick Bot(tb)", "250", "tb"}},
         {{4, Whole, 0}, {3, Less, 0, 4}, {5, Whole, 1}, {6, Whole, 2}},
         {3, 4, 5, 6},
         {},
         taperIShape,
         marks::taperI},
        {Typical,
         13,
         "Recto Circular Section[13]",
         "recto-circular",
         {{"Depth(D)", "1200", "D"}, {"Width(W)", "600", "W"}},
         {{1, Whole, 0}},
         {1},
         {},
         rectoCircularShape,
         marks::outerDW},
        // The flat parts may be 0 (a plain ellipse).
        {Typical,
         14,
         "Recto Circular Ellipse[14]",
         "recto-circular-ellipse",
         {{"Depth(D)", "1600", "D"},
          {"Depth flat(d)", "1400", "d"},
          {"Width(W)", "1000", "W"},
          {"Width flat(w)", "800", "w"}},
         {{1, Whole, 0, 0, To::UpTo}, {3, Whole, 2, 0, To::UpTo}},
         {0, 2},
         {1, 3},
         rectoCircularEllipseShape,
         marks::rectoEllipse},
    }};
    return shapes;
}

BarGroupCaptions typicalBarGroups(int shape) {
    switch (typicalShape(shape).bars) {
        case BarLayout::Column:
            return {"X-Dir Rebar", "Y-Dir Rebar", "Corner Rebar", "2", "2"};
        case BarLayout::Beam:
            return {"Top Rebar", "Bot Rebar", "Side Rebar", "2", "2"};
        case BarLayout::Ring:
            return {"Main Rebar", "", "", "12", ""};
        case BarLayout::OnCoverPoints:
            break;
    }
    return {};
}

namespace {
std::string kedit(int row) {
    return "KEdit" + std::to_string(row + 1);
}
}  // namespace

const ShapeDescriptor& typicalShape(int shape) {
    if (shape < 0 || shape >= TYPICAL_SHAPES)
        throw InputError("There is no section shape " + std::to_string(shape) + " (0.." +
                         std::to_string(TYPICAL_SHAPES - 1) + ").");
    return typicalShapes()[static_cast<std::size_t>(shape)];
}

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
    const ShapeDescriptor& d = typicalShape(shape);
    for (int i = 0; i < DIMENSION_ROWS; ++i) texts[kedit(i)] = "0";
    for (std::size_t i = 0; i < d.rows.size(); ++i) texts[rowBox(d, i)] = d.rows[i].value;
    const BarGroupCaptions g = typicalBarGroups(shape);
    if (!g.firstNumber.empty()) texts["Edit5"] = g.firstNumber;
    if (!g.secondNumber.empty()) texts["Edit8"] = g.secondNumber;
}

namespace {
// The boxes of the bar groups, each with its group, the column's caption and its command-line
// word ("X-Dir Rebar Row" is --x-rows).
struct BarBox {
    const char* box;
    int group;  // 0 first, 1 second, 2 third
    const char* column;
    const char* option;
};
constexpr BarBox kBarBoxes[] = {
    {"Edit4", 0, " Row", "rows"},          {"Edit5", 0, " Number", "number"},
    {"Edit6", 0, " Diameter", "diameter"}, {"Edit7", 1, " Row", "rows"},
    {"Edit8", 1, " Number", "number"},     {"Edit9", 1, " Diameter", "diameter"},
    {"Edit10", 2, " Number", "number"},    {"Edit11", 2, " Diameter", "diameter"}};

const std::string& groupCaption(const BarGroupCaptions& g, int group) {
    return group == 0 ? g.first : group == 1 ? g.second : g.third;
}

// The group's first word in lower case, without "-Dir": "x", "top", "corner".
std::string groupWord(const std::string& caption) {
    std::string w = caption.substr(0, caption.find(' '));
    if (w.ends_with("-Dir")) w.resize(w.size() - 4);
    for (char& ch : w) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return w;
}
}  // namespace

BoxCaptions typicalCaptions(int shape) {
    const ShapeDescriptor& d = typicalShape(shape);
    BoxCaptions c = {{"Edit3", "Rebar Distance d1(mm)"}, {"Edit14", "Typical Rebar Diameter"}};
    for (std::size_t i = 0; i < d.rows.size(); ++i) c[rowBox(d, i)] = d.rows[i].label;
    if (d.bars == BarLayout::OnCoverPoints) return c;
    c["Edit13"] = "Circle Section Mesh Num";
    c["Edit12"] = "Row Spacer";
    const BarGroupCaptions g = typicalBarGroups(shape);
    for (const BarBox& b : kBarBoxes)
        if (!groupCaption(g, b.group).empty()) c[b.box] = groupCaption(g, b.group) + b.column;
    return c;
}

void appendTypicalInputs(std::vector<ShapeInput>& in, int shape) {
    const ShapeDescriptor& d = typicalShape(shape);
    const BoxTexts texts = [&] {
        BoxTexts t = typicalDialogTexts();
        typicalShapeChange(t, shape);
        return t;
    }();
    const BoxCaptions c = typicalCaptions(shape);
    auto add = [&](const char* box, const std::string& option, const char* unit,
                   const std::string& range) {
        in.push_back({box, option, c.at(box), unit, texts.at(box), range});
    };
    std::string parts;
    for (std::size_t k = 0; k < d.coverParts.size(); ++k)
        parts += (k == 0                         ? ""
                  : k + 1 == d.coverParts.size() ? " or "
                                                 : ", ") +
                 d.rows[d.coverParts[k]].label;
    const std::string cover = "at least 0 and less than half of " + parts +
                              (d.coverParts.size() > 1 ? ", whichever is least" : "");
    add("Edit3", "cover", "mm", cover);
    const std::string diameter = "at least 0 and at most twice Rebar Distance d1(mm)";
    add("Edit14", "bar-diameter", "mm",
        d.bars == BarLayout::OnCoverPoints ? diameter : "any number (not used by this shape)");
    if (d.bars == BarLayout::OnCoverPoints) return;
    add("Edit13", "mesh-number", "", "any whole number (the circle always has 24 corners)");
    add("Edit12", "row-spacer", "mm", "at least 0; every row within its half of the section");
    const BarGroupCaptions g = typicalBarGroups(shape);
    for (const BarBox& b : kBarBoxes) {
        const std::string& group = groupCaption(g, b.group);
        if (group.empty()) continue;
        const bool count = std::string(b.option) != "diameter";
        add(b.box, groupWord(group) + "-" + b.option, count ? "" : "mm",
            count ? "a whole number, 0 or more" : diameter);
    }
}

TypicalParams readTypicalParams(int shape, const BoxTexts& texts) {
    const ShapeDescriptor& d = typicalShape(shape);
    const BoxCaptions captions = typicalCaptions(shape);
    const BoxReader r(texts, captions);
    TypicalParams p;
    p.shape = shape;
    if (d.bars != BarLayout::OnCoverPoints) {
        // The circle hides its second dimension and its second bar group and has no use for the
        // third: a box the user cannot see or that changes nothing must not stop the build.
        const bool ring = d.bars == BarLayout::Ring;
        p.dim[0] = r.real("KEdit1");
        if (!ring) p.dim[1] = r.real("KEdit2");
        // The circle's mesh count is checked like every count but the outline keeps 24 corners.
        (void)r.count("Edit13");
        p.typicalDia = r.real("Edit14");
        p.s = r.real("Edit12");
        p.d1 = r.real("Edit3");
        p.nRx = r.count("Edit4");
        p.nx = r.count("Edit5");
        p.dx = r.real("Edit6");
        if (ring) return p;
        p.nRy = r.count("Edit7");
        p.ny = r.count("Edit8");
        p.dy = r.real("Edit9");
        p.nc = r.count("Edit10");
        p.dc = r.real("Edit11");
        return p;
    }
    p.d1 = r.real("Edit3");
    for (std::size_t i = 0; i < d.rows.size(); ++i) p.dim[i] = r.real(rowBox(d, i));
    p.typicalDia = r.real("Edit14");
    return p;
}

namespace {
// The cover line stays inside the outline while d1 is less than half the thinnest part the bars
// line.
Bound coverRoom(const ShapeDescriptor& d, const Dimensions& v) {
    Bound room{MAX_LENGTH_MM, ""};
    for (std::size_t i : d.coverParts)
        if (v[i] / 2 < room.value) room = {v[i] / 2, "half of " + d.rows[i].label};
    return room;
}

std::vector<TBAR> groupBars(const TypicalParams& p, BarLayout layout) {
    const double B = p.dim[0], H = p.dim[1];
    const BarRows x{p.nRx, p.nx, p.dx}, y{p.nRy, p.ny, p.dy};
    switch (layout) {
        case BarLayout::Column:
            return columnBars(B, H, p.d1, p.s, x, y, p.nc, p.dc);
        case BarLayout::Beam:
            return beamBars(B, H, p.d1, p.s, x, y, p.nc, p.dc);
        case BarLayout::Ring:
            return ringBars(p.dim[0], p.d1, p.s, x);
        case BarLayout::OnCoverPoints:
            break;
    }
    return {};
}
}  // namespace

void checkTypicalParams(const TypicalParams& p) {
    const ShapeDescriptor& d = typicalShape(p.shape);
    const BoxCaptions cap = typicalCaptions(p.shape);
    checkDimensions(d, p.dim);
    requireWithin(p.d1, cap.at("Edit3"), From::Zero, To::Below, coverRoom(d, p.dim));
    // A bar thicker than twice its cover distance would stand out of the concrete. A corner
    // bundle is held bar by bar: its bars sit round the corner, not in one circle.
    const Bound barRoom{2 * p.d1, "twice Rebar Distance d1(mm)"};
    auto requireDiameter = [&](double db, const char* box) {
        requireWithin(db, cap.at(box), From::Zero, To::UpTo, barRoom);
    };
    if (d.bars == BarLayout::OnCoverPoints) {
        requireDiameter(p.typicalDia, "Edit14");
        return;
    }
    const BarGroupCaptions g = typicalBarGroups(p.shape);
    requireNotNegative(p.s, cap.at("Edit12"));
    requireCountNotNegative(p.nRx, cap.at("Edit4"));
    requireCountNotNegative(p.nx, cap.at("Edit5"));
    requireDiameter(p.dx, "Edit6");
    const double D = p.dim[0], B = p.dim[0], H = p.dim[1];
    if (d.bars == BarLayout::Ring) {
        requireRowsFit(p.s, cap.at("Edit12"), {{p.nRx, D / 2 - p.d1, g.first}});
        requireLayoutBars(barsOf({p.nRx, p.nx, 0}));
        return;
    }
    const bool column = d.bars == BarLayout::Column;
    requireCountNotNegative(p.nRy, cap.at("Edit7"));
    requireCountNotNegative(p.ny, cap.at("Edit8"));
    requireDiameter(p.dy, "Edit9");
    requireCountNotNegative(p.nc, cap.at("Edit10"));
    requireDiameter(p.dc, "Edit11");
    if (!column) {
        // A beam row runs from corner to corner: one bar alone has no spacing.
        if (p.nRx > 0 && p.nx == 1)
            throw InputError("Top Rebar needs at least 2 bars per row (or 0 rows).");
        if (p.nRy > 0 && p.ny == 1)
            throw InputError("Bot Rebar needs at least 2 bars per row (or 0 rows).");
    }
    // Column: the second group's rows step in from the sides; beam: both groups from the faces.
    requireRowsFit(
        p.s, cap.at("Edit12"),
        {{p.nRx, H / 2 - p.d1, g.first}, {p.nRy, (column ? B : H) / 2 - p.d1, g.second}});
    const double x = barsOf({p.nRx, p.nx, 0}), y = barsOf({p.nRy, p.ny, 0});
    requireLayoutBars(column ? 2 * x + 2 * y + 4 : x + y + 2.0 * p.nc);
}

SectionGeometry typicalGeometry(const TypicalParams& p) {
    const ShapeDescriptor& d = typicalShape(p.shape);
    ShapeOutline o = d.geometry(p.dim, p.d1);
    SectionGeometry g{std::move(o.outline), std::move(o.cover), groupBars(p, d.bars)};
    if (d.bars != BarLayout::OnCoverPoints) return g;
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

namespace {
// The box ranges keep the cover line inside the outline for the shapes' usual proportions; a
// steep taper can still carry it across a sloping face, and a cover distance beyond the corner
// radii of the recto-circular ellipse turns its arcs inside out. The mesher's own test of the
// polygons decides, and the builder names the box that moved the cover line.
void requireMeshableGeometry(const TypicalParams& p, const SectionGeometry& g) {
    SectionModel scratch;
    writeConcrete(scratch, g.outline, g.cover, {});
    try {
        requireMeshablePolygons(scratch);
    } catch (const InputError& e) {
        throw InputError(
            Format("%s %g leaves the cover line outside this shape's outline: %s "
                   "Use a smaller cover distance.",
                   {typicalCaptions(p.shape).at("Edit3"), p.d1, e.what()}));
    }
}
}  // namespace

void buildTypicalSection(SectionModel& m, int shape, const BoxTexts& texts) {
    const TypicalParams p = readTypicalParams(shape, texts);
    checkTypicalParams(p);
    const SectionGeometry g = typicalGeometry(p);
    requireAcceptedShape(g.outline, g.bars);
    requireAcceptedShape(g.cover);
    requireMeshableGeometry(p, g);
    CLEAR_MODEL(m);
    writeConcrete(m, g.outline, g.cover, g.bars);
    refreshGeometry(m);
}

}  // namespace qav
