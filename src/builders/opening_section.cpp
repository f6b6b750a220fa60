#include "builders/opening_section.h"

#include <cmath>

#include "builders/model_writers.h"
#include "model/errors.h"
#include "model/section_properties.h"

namespace qav {

const std::array<std::string, OPENING_SHAPES>& openingShapeNames() {
    static const std::array<std::string, OPENING_SHAPES> names = {"Rectangle Opening[0]",
                                                                  "Circular Opening[1]"};
    return names;
}

BoxTexts openingDialogTexts() {
    return {{"KEdit1", "300"}, {"KEdit2", "400"}, {"KEdit3", "0"}, {"KEdit4", "0"}};
}

OpeningParams readOpeningParams(int shape, const BoxTexts& texts) {
    if (shape < 0 || shape >= OPENING_SHAPES)
        throw InputError("There is no opening shape " + std::to_string(shape) + " (0..1).");
    const BoxReader r(texts);
    OpeningParams p;
    p.shape = shape;
    p.B = r.real("KEdit1");
    if (shape == 0) p.H = r.real("KEdit2");
    p.X = r.real("KEdit3");
    p.Y = r.real("KEdit4");
    return p;
}

void checkOpeningParams(const OpeningParams& p) {
    if (p.shape == 0) {
        requirePositive(p.B, "Section Dim B");
        requirePositive(p.H, "Section Dim H");
    } else {
        requirePositive(p.B, "Section Dim D");
    }
    if (!std::isfinite(p.X) || !std::isfinite(p.Y))
        throw InputError("The location of the opening is not a usable number.");
    requireAcceptedLength(p.X, "Location X(mm)");
    requireAcceptedLength(p.Y, "Location Y(mm)");
}

Corners openingCorners(const OpeningParams& p) {
    if (p.shape == 0) return rectangleAnticlockwise(p.H, p.B, p.X, p.Y);
    return arc(p.X, p.Y, p.B / 2, p.B / 2, 0, 15, 24);
}

void buildOpening(SectionModel& m, int shape, const BoxTexts& texts) {
    const OpeningParams p = readOpeningParams(shape, texts);
    checkOpeningParams(p);
    const Corners corners = openingCorners(p);
    requireAcceptedShape(corners);
    m.NOPEN_SEC = 1;
    resizeTable(m.OPEN_SEC, 2);
    writePolygon(m.OPEN_SEC[1], corners);
    CALC_STEEL_SECTION_AREA(m);
    CALC_POLY_ZONE(m);
}

}  // namespace qav
