#pragma once
// The pictures of the builder dialogs: each shape drawn from the builder's own geometry at its
// default dimensions, with the dimension letters the dialog's rows use.
#include <string>
#include <vector>

#include "builders/shape_forms.h"
#include "canvas/canvas.h"

namespace qav {

// One dimension line from a to b (model millimetres) with its letter.
struct DimensionMark {
    std::string letter;
    TPOS a, b;
};

struct ShapePicture {
    Corners outline;
    Corners cover;  // drawn dashed; empty for steel and openings
    std::vector<TPOS> bars;
    Color fill = colors::midGrey;
    std::vector<DimensionMark> marks;
};

ShapePicture typicalPicture(int shape);
ShapePicture steelPicture(int shape);
ShapePicture openingPicture(int shape);

// Fits the picture into w x h (y upwards in the model, downwards on the canvas) and draws it on
// a white ground.
void drawShapePicture(Canvas& c, int w, int h, const ShapePicture& picture);

}  // namespace qav
