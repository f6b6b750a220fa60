#include "builders/opening_section.h"

#include <cmath>

#include "builders/model_writers.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
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

BoxCaptions openingCaptions(int shape) {
    if (shape < 0 || shape >= OPENING_SHAPES)
        throw InputError("There is no opening shape " + std::to_string(shape) + " (0..1).");
    if (shape == 1)
        return {{"KEdit1", "Section Dim D"},
                {"KEdit3", "Location X(mm)"},
                {"KEdit4", "Location Y(mm)"}};
    return {{"KEdit1", "Section Dim B"},
            {"KEdit2", "Section Dim H"},
            {"KEdit3", "Location X(mm)"},
            {"KEdit4", "Location Y(mm)"}};
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
    if (p.shape == 0) return rectangleAnticlockwise(p.H, p.B, p.X, p.Y);
    return arc(p.X, p.Y, p.B / 2, p.B / 2, 0, 15, 24);
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
