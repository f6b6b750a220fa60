#pragma once
// The schematic picture of the "Build Composite Section" dialog: the concrete, the bars as red
// dots and the steel as blue outlines, scaled to 70 % of the picture. The picture's y runs
// downwards and model y is added to the centre row.
#include <vector>

#include "builders/composite_section.h"
#include "canvas/canvas.h"

namespace qav {

struct TGBAR {
    double PX = 0;
    double PY = 0;
};

// Bar positions of the preview. TY 1 column, 2 circle, 3 beam.
std::vector<TGBAR> GEN_RC_REBAR(int TY, const CompositeParams& p);

// Draws the whole preview into a w x h picture. Parts whose size is not a usable number (before
// the first "Input Data" every parameter is 0) are left out rather than drawn at random places.
void drawCompositePreview(Canvas& c, int w, int h, const CompositeParams& p);

}  // namespace qav
