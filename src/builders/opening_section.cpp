#include "builders/opening_section.h"

#include <cmath>

#include "builders/model_writers.h"
#include "builders/shape_picture.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/section_properties.h"

namespace qav {

namespace {
// The rows of both shapes end with the centre, X then Y.
ShapeOutline rectangleShape(const Dimensions& v, double) {
    return {rectangleAnticlockwise(v[1], v[0], v[2], v[3]), {}};
}
ShapeOutline circleShape(const Dimensions& v, double) {
    return {arc(v[1], v[2], v[0] / 2, v[0] / 2, 0, 15, 24), {}};
}
constexpr auto Opening = BuilderKind::Opening;
}  // namespace

// The circle keeps the rectangle's boxes: its diameter is KEdit1 and KEdit2 is hidden.
const std::array<ShapeDescriptor, OPENING_SHAPES>& openingShapes() {
    static const std::array<ShapeDescriptor, OPENING_SHAPES> shapes = {{
        {Opening,
         0,
         "Rectangle Opening[0]",
         "rectangle",
         {{"Section Dim B", "300", "B"},
          {"Section Dim H", "400", "H"},
          {"Location X(mm)", "0", "X"},
          {"Location Y(mm)", "0", "Y"}},
         {},
         {},
         {},
         rectangleShape,
         marks::openingBH},
        {Opening,
         1,
         "Circular Opening[1]",
         "circle",
         {{"Section Dim D", "300", "D"},
          {"Location X(mm)", "0", "X", "KEdit3"},
          {"Location Y(mm)", "0", "Y", "KEdit4"}},
         {},
         {},
         {},
         circleShape,
         marks::diameter},
    }};
    return shapes;
}

const ShapeDescriptor& openingShape(int shape) {
    if (shape < 0 || shape >= OPENING_SHAPES)
        throw InputError("There is no opening shape " + std::to_string(shape) + " (0..1).");
    return openingShapes()[static_cast<std::size_t>(shape)];
}

BoxTexts openingDialogTexts() {
    BoxTexts t;
    for (const ShapeDescriptor& d : openingShapes())
        for (std::size_t i = 0; i < d.rows.size(); ++i) t.emplace(rowBox(d, i), d.rows[i].value);
    return t;
}

BoxCaptions openingCaptions(int shape) {
    const ShapeDescriptor& d = openingShape(shape);
    BoxCaptions c;
    for (std::size_t i = 0; i < d.rows.size(); ++i) c[rowBox(d, i)] = d.rows[i].label;
    return c;
}

OpeningParams readOpeningParams(int shape, const BoxTexts& texts) {
    const BoxCaptions captions = openingCaptions(shape);
    const BoxReader r(texts, captions);
    OpeningParams p;
    p.shape = shape;
    p.B = r.real("KEdit1");
    if (shape == 0) p.H = r.real("KEdit2");
    p.X = r.real("KEdit3");
    p.Y = r.real("KEdit4");
    return p;
}

void checkOpeningParams(const OpeningParams& p) {
    const BoxCaptions cap = openingCaptions(p.shape);
    requirePositive(p.B, cap.at("KEdit1"));
    if (p.shape == 0) requirePositive(p.H, cap.at("KEdit2"));
    // The centre may lie anywhere that keeps the whole opening within the length bound.
    const double halfX = p.shape == 0 ? p.H / 2 : p.B / 2, halfY = p.B / 2;
    const std::string why = "so that the opening stays within " + Format("%0.0F", {MAX_LENGTH_MM}) +
                            " mm of the origin";
    requireBetween(p.X, cap.at("KEdit3"), MAX_LENGTH_MM - halfX, why);
    requireBetween(p.Y, cap.at("KEdit4"), MAX_LENGTH_MM - halfY, why);
}

Corners openingCorners(const OpeningParams& p) {
    const Dimensions v = p.shape == 0 ? Dimensions{p.B, p.H, p.X, p.Y} : Dimensions{p.B, p.X, p.Y};
    return openingShape(p.shape).geometry(v, 0).outline;
}

void buildOpening(SectionModel& m, int shape, const BoxTexts& texts) {
    const OpeningParams p = readOpeningParams(shape, texts);
    checkOpeningParams(p);
    const Corners corners = openingCorners(p);
    requireAcceptedShape(corners);
    m.document.NOPEN_SEC = 1;
    resizeTable(m.document.OPEN_SEC, 2);
    writePolygon(m.document.OPEN_SEC[1], corners);
    refreshGeometry(m);
}

}  // namespace qav
