#include "builders/steel_section.h"

#include "builders/model_writers.h"
#include "builders/shape_picture.h"
#include "model/errors.h"
#include "model/section_properties.h"

namespace qav {

namespace {
const std::vector<DimensionRow> kPlateRows = {{"Overall depth(D)", "700", "D"},
                                              {"Flange width(W)", "500", "W"},
                                              {"Flange thickness(T)", "50", "T"},
                                              {"Web thickness(t)", "50", "t"}};

std::string kedit(std::size_t row) {
    return "KEdit" + std::to_string(row + 1);
}

// Each shape's polygon from its rows; steel has no cover line.
ShapeOutline rectangleShape(const Dimensions& v, double) {
    return {rectangleAnticlockwise(v[1], v[0]), {}};
}
ShapeOutline hollowShape(const Dimensions& v, double) {
    return {hollowRectangle(v[0], v[1], v[2], v[3]), {}};
}
ShapeOutline circleShape(const Dimensions& v, double) {
    return {arc(0, 0, v[0] / 2, v[0] / 2, 0, 15, 24), {}};
}
// The web of the I-section has always been T thick; stored sections rely on it.
ShapeOutline iShape(const Dimensions& v, double) {
    return {taperedI(v[0], v[1], v[1], v[2], v[2], v[2], v[2]), {}};
}
ShapeOutline tShape(const Dimensions& v, double) {
    return {taperedT(v[0], v[1], v[2], v[3], v[3]), {}};
}
ShapeOutline channelShape(const Dimensions& v, double) {
    return {channel(v[0], v[1], v[2], v[3]), {}};
}
ShapeOutline angleShape(const Dimensions& v, double) {
    return {taperedAngle(v[0], v[1], v[2], v[3], v[3]), {}};
}
ShapeOutline crossShape(const Dimensions& v, double) {
    return {plateCross(v[0], v[1], v[2], v[3]), {}};
}
ShapeOutline tubeShape(const Dimensions& v, double) {
    return {tube(v[0], v[1]), {}};
}
ShapeOutline generalIShape(const Dimensions& v, double) {
    return {taperedI(v[0], v[1], v[2], v[3], v[4], v[5], v[5]), {}};
}

constexpr auto Steel = BuilderKind::Steel;
constexpr auto Half = Part::Half;
constexpr auto Whole = Part::Whole;
}  // namespace

const ShapeDescriptor& steelShape(int shape) {
    if (shape < 0 || shape >= STEEL_SHAPES)
        throw InputError("There is no steel shape " + std::to_string(shape) + " (0.." +
                         std::to_string(STEEL_SHAPES - 1) + ").");
    return steelShapes()[static_cast<std::size_t>(shape)];
}

// Proportions: plates thinner than what the depth and the widths leave for them, so that every
// shape is one simple polygon and a hollow shape keeps its hole.
const std::array<ShapeDescriptor, STEEL_SHAPES>& steelShapes() {
    // Shape 0 takes its first value ("Section Dim B") along y and the second along x, as its
    // picture names them D and W.
    static const std::array<ShapeDescriptor, STEEL_SHAPES> shapes = {{
        {Steel,
         0,
         "Rectangle Section[0]",
         "rectangle",
         {{"Section Dim B", "1000", "D"}, {"Section Dim H", "1000", "W"}},
         {},
         {},
         {},
         rectangleShape,
         marks::outerDW},
        {Steel,
         1,
         "Rect Hollow Section[1]",
         "rect-hollow",
         kPlateRows,
         {{2, Half, 0}, {3, Half, 1}},
         {},
         {},
         hollowShape,
         marks::hollow},
        {Steel,
         2,
         "Circular Section[2]",
         "circle",
         {{"Section Dia D(mm)", "800", "D"}},
         {},
         {},
         {},
         circleShape,
         marks::diameter},
        // The web is T thick too.
        {Steel,
         3,
         "I Section[3]",
         "i-section",
         kPlateRows,
         {{2, Half, 0}, {2, Whole, 1}},
         {},
         {},
         iShape,
         marks::iSection},
        {Steel,
         4,
         "T Section[4]",
         "t-section",
         kPlateRows,
         {{2, Whole, 0}, {3, Whole, 1}},
         {},
         {},
         tShape,
         marks::tSection},
        {Steel,
         5,
         "Channel Section[5]",
         "channel",
         kPlateRows,
         {{2, Half, 0}, {3, Whole, 1}},
         {},
         {},
         channelShape,
         marks::channel},
        {Steel,
         6,
         "Angle Section[6]",
         "angle",
         kPlateRows,
         {{2, Whole, 0}, {3, Whole, 1}},
         {},
         {},
         angleShape,
         marks::angle},
        {Steel,
         7,
         "Cross Section[7]",
         "cross",
         kPlateRows,
         {{2, Whole, 0}, {3, Whole, 1}},
         {},
         {},
         crossShape,
         marks::cross},
        {Steel,
         8,
         "Tube Section[8]",
         "tube",
         {{"Depth(D)", "1000", "D"}, {"Thick(T)", "50", "T"}},
         {{1, Half, 0}},
         {},
         {},
         tubeShape,
         marks::tube},
        {Steel,
         9,
         "General I Section[9]",
         "general-i",
         {{"Overall depth(D)", "1000", "D"},
          {"Flange width Top(Wt)", "800", "Wt"},
          {"Flange width Bot(Wb)", "800", "Wb"},
          {"Flange thick Top(Tt)", "40", "Tt"},
          {"Flange thick Bot(Tb)", "40", "Tb"},
          {"Web thick(t)", "40", "t"}},
         {{4, Whole, 0}, {3, Part::Less, 0, 4}, {5, Whole, 1}, {5, Whole, 2}},
         {},
         {},
         generalIShape,
         marks::generalI},
    }};
    return shapes;
}

BoxTexts steelDialogTexts() {
    BoxTexts t;
    const char* kedits[DIMENSION_ROWS] = {"800", "1200", "800", "1200", "800", "1200", "1200"};
    for (std::size_t i = 0; i < DIMENSION_ROWS; ++i) t[kedit(i)] = kedits[i];
    return t;
}

void steelShapeChange(BoxTexts& texts, int shape) {
    const ShapeDescriptor& d = steelShape(shape);
    for (std::size_t i = 0; i < DIMENSION_ROWS; ++i) texts[kedit(i)] = "0";
    for (std::size_t i = 0; i < d.rows.size(); ++i) texts[rowBox(d, i)] = d.rows[i].value;
}

BoxCaptions steelCaptions(int shape) {
    const ShapeDescriptor& d = steelShape(shape);
    BoxCaptions c;
    for (std::size_t i = 0; i < d.rows.size(); ++i) c[rowBox(d, i)] = d.rows[i].label;
    return c;
}

SteelParams readSteelParams(int shape, const BoxTexts& texts) {
    const ShapeDescriptor& d = steelShape(shape);
    const BoxCaptions captions = steelCaptions(shape);
    const BoxReader r(texts, captions);
    SteelParams p;
    p.shape = shape;
    for (std::size_t i = 0; i < d.rows.size(); ++i) p.dim[i] = r.real(rowBox(d, i));
    return p;
}

void checkSteelParams(const SteelParams& p) {
    checkDimensions(steelShape(p.shape), p.dim);
}

Corners steelCorners(const SteelParams& p) {
    return steelShape(p.shape).geometry(p.dim, 0).outline;
}

void FORM_STEEL_POLYGON(SectionModel& m, const Corners& corners) {
    m.document.NSTEEL_SEC = 1;
    resizeTable(m.document.STEEL_SEC, 2);
    m.document.STEEL_SEC[1] = TPOLYSHAPE{};
    writePolygon(m.document.STEEL_SEC[1], corners);
    CALC_POLY_CENTER_POINT(m);
}

void buildSteelSection(SectionModel& m, int shape, const BoxTexts& texts) {
    const SteelParams p = readSteelParams(shape, texts);
    checkSteelParams(p);
    const Corners corners = steelCorners(p);
    requireAcceptedShape(corners);
    FORM_STEEL_POLYGON(m, corners);
    refreshGeometry(m);
}

}  // namespace qav
