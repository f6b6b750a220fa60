#pragma once
// The pictures of the builder dialogs: each shape drawn from the builder's own geometry at its
// default dimensions, with the dimension letters the dialog's rows use.
#include <string>
#include <vector>

#include "builders/shape_catalog.h"
#include "builders/shape_forms.h"
#include "canvas/canvas.h"

namespace qav {

struct ShapePicture {
    Corners outline;
    Corners cover;  // drawn dashed; empty for steel and openings
    std::vector<TPOS> bars;
    Color fill = colors::midGrey;
    std::vector<DimensionMark> marks;
};

// The dimension lines of the shapes' pictures, one function for each way of marking a shape; the
// descriptors name theirs.
namespace marks {
std::vector<DimensionMark> outerBH(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> outerDW(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> diameter(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> iSection(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> tSection(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> channel(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> angle(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> taper(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> generalI(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> taperI(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> taperT(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> taperAngle(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> rectoEllipse(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> hollow(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> cross(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> tube(const Dimensions& v, const PictureFrame& f);
std::vector<DimensionMark> openingBH(const Dimensions& v, const PictureFrame& f);
}  // namespace marks

ShapePicture typicalPicture(int shape);
ShapePicture steelPicture(int shape);
ShapePicture openingPicture(int shape);

// Fits the picture into w x h (y upwards in the model, downwards on the canvas) and draws it on
// a white ground.
void drawShapePicture(Canvas& c, int w, int h, const ShapePicture& picture);

}  // namespace qav
