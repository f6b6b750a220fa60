#pragma once
// The two stress-strain sketches of the material dialog: the concrete law (parabola and
// plateau) and the steel law (elastic, perfectly plastic), with their labelled quantities.
#include "canvas/canvas.h"

namespace qav {

void drawConcreteLawDiagram(Canvas& c, int width, int height);
void drawSteelLawDiagram(Canvas& c, int width, int height);

}  // namespace qav
