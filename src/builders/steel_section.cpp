#include "builders/steel_section.h"

#include <stdexcept>

#include "builders/model_writers.h"
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

void checkShape(int shape) {
    if (shape < 0 || shape >= STEEL_SHAPES)
        throw InputError("There is no steel shape " + std::to_string(shape) + " (0.." +
                         std::to_string(STEEL_SHAPES - 1) + ").");
}
}  // namespace

const std::array<ShapeEntry, STEEL_SHAPES>& steelShapes() {
    // Shape 0 takes its first value ("Section Dim B") along y and the second along x, as its
    // picture names them D and W.
    static const std::array<ShapeEntry, STEEL_SHAPES> shapes = {{
        {"Rectangle Section[0]", {{"Section Dim B", "1000", "D"}, {"Section Dim H", "1000", "W"}}},
        {"Rect Hollow Section[1]", kPlateRows},
        {"Circular Section[2]", {{"Section Dia D(mm)", "800", "D"}}},
        {"I Section[3]", kPlateRows},
        {"T Section[4]", kPlateRows},
        {"Channel Section[5]", kPlateRows},
        {"Angle Section[6]", kPlateRows},
        {"Cross Section[7]", kPlateRows},
        {"Tube Section[8]", {{"Depth(D)", "1000", "D"}, {"Thick(T)", "50", "T"}}},
        {"General I Section[9]",
         {{"Overall depth(D)", "1000", "D"},
          {"Flange width Top(Wt)", "800", "Wt"},
          {"Flange width Bot(Wb)", "800", "Wb"},
          {"Flange thick Top(Tt)", "40", "Tt"},
          {"Flange thick Bot(Tb)", "40", "Tb"},
          {"Web thick(t)", "40", "t"}}},
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
    checkShape(shape);
    for (std::size_t i = 0; i < DIMENSION_ROWS; ++i) texts[kedit(i)] = "0";
    const auto& rows = steelShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) texts[kedit(i)] = rows[i].value;
}

BoxCaptions steelCaptions(int shape) {
    checkShape(shape);
    BoxCaptions c;
    const auto& rows = steelShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) c[kedit(i)] = rows[i].label;
    return c;
}

SteelParams readSteelParams(int shape, const BoxTexts& texts) {
    const BoxCaptions captions = steelCaptions(shape);
    const BoxReader r(texts, captions);
    SteelParams p;
    p.shape = shape;
    const auto& rows = steelShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) p.dim[i] = r.real(kedit(i));
    return p;
}

void checkSteelParams(const SteelParams& p) {
    checkShape(p.shape);
    const auto& rows = steelShapes()[static_cast<std::size_t>(p.shape)].rows;
    for (std::size_t i = 0; i < rows.size(); ++i) requirePositive(p.dim[i], rows[i].label);
    // Plates thinner than what the depth and the widths leave for them, so that every shape is
    // one simple polygon and a hollow shape keeps its hole.
    const auto& v = p.dim;
    auto half = [&](std::size_t i) { return Bound{v[i] / 2, "half of " + rows[i].label}; };
    auto whole = [&](std::size_t i) { return Bound{v[i], "the " + rows[i].label}; };
    struct Proportion {
        std::size_t row;
        Bound bound;
    };
    std::vector<Proportion> rules;
    switch (p.shape) {
        case 1:
            rules = {{2, half(0)}, {3, half(1)}};
            break;
        case 3:
            rules = {{2, half(0)}, {2, whole(1)}};
            break;  // the web is T thick too
        case 4:
        case 6:
        case 7:
            rules = {{2, whole(0)}, {3, whole(1)}};
            break;
        case 5:
            rules = {{2, half(0)}, {3, whole(1)}};
            break;
        case 8:
            rules = {{1, half(0)}};
            break;
        case 9:
            rules = {{4, whole(0)},
                     {3, {v[0] - v[4], rows[0].label + " less " + rows[4].label}},
                     {5, whole(1)},
                     {5, whole(2)}};
            break;
        default:
            break;
    }
    for (const Proportion& r : rules)
        requireWithin(v[r.row], rows[r.row].label, From::AboveZero, To::Below, r.bound);
}

Corners steelCorners(const SteelParams& p) {
    const auto& v = p.dim;
    switch (p.shape) {
        case 0:
            return rectangleAnticlockwise(v[1], v[0]);
        case 1:
            return hollowRectangle(v[0], v[1], v[2], v[3]);
        case 2:
            return arc(0, 0, v[0] / 2, v[0] / 2, 0, 15, 24);
        // The web of the I-section has always been T thick; stored sections rely on it.
        case 3:
            return taperedI(v[0], v[1], v[1], v[2], v[2], v[2], v[2]);
        case 4:
            return taperedT(v[0], v[1], v[2], v[3], v[3]);
        case 5:
            return channel(v[0], v[1], v[2], v[3]);
        case 6:
            return taperedAngle(v[0], v[1], v[2], v[3], v[3]);
        case 7:
            return plateCross(v[0], v[1], v[2], v[3]);
        case 8:
            return tube(v[0], v[1]);
        case 9:
            return taperedI(v[0], v[1], v[2], v[3], v[4], v[5], v[5]);
        default:
            throw std::logic_error("unknown steel shape");
    }
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
