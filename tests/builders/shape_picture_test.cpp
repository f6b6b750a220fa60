#include "builders/shape_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "canvas/recording_canvas.h"

using namespace qav;

namespace {
bool hasText(const RecordingCanvas& c, const std::string& t) {
    const auto texts = c.texts();
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}
}  // namespace

TEST(ShapePicture, EveryShapeIsDrawnInsideItsPictureWithTheLettersOfItsRows) {
    struct Kind {
        const char* name;
        int count;
        ShapePicture (*picture)(int);
        const ShapeDescriptor* shapes;
    };
    const Kind kinds[] = {{"typical", TYPICAL_SHAPES, typicalPicture, typicalShapes().data()},
                          {"steel", STEEL_SHAPES, steelPicture, steelShapes().data()}};
    for (const Kind& k : kinds)
        for (int shape = 0; shape < k.count; ++shape) {
            const std::string name = std::string(k.name) + " " + k.shapes[shape].name;
            RecordingCanvas c;
            const ShapePicture pic = k.picture(shape);
            drawShapePicture(c, 222, 172, pic);
            const auto polys = c.callsOf(RecordingCanvas::Kind::Polygon);
            ASSERT_EQ(polys.size(), 1u) << name;
            EXPECT_EQ(polys[0].points.size(), pic.outline.size()) << name;
            for (const Point& p : polys[0].points) {
                EXPECT_GE(p.x, 0) << name;
                EXPECT_LE(p.x, 222) << name;
                EXPECT_GE(p.y, 0) << name;
                EXPECT_LE(p.y, 172) << name;
            }
            for (const auto& row : k.shapes[shape].rows) {
                // The I-section's web is T thick, so its picture has no t.
                if (shape == 3 && row.symbol == "t") continue;
                EXPECT_TRUE(hasText(c, row.symbol)) << name << " lacks " << row.symbol;
            }
        }
}

TEST(ShapePicture, OpeningPicturesNameTheirBoxes) {
    RecordingCanvas rect, circle;
    drawShapePicture(rect, 222, 172, openingPicture(0));
    drawShapePicture(circle, 222, 172, openingPicture(1));
    EXPECT_TRUE(hasText(rect, "B") && hasText(rect, "H") && hasText(rect, "X,Y"));
    EXPECT_TRUE(hasText(circle, "D"));
    EXPECT_EQ(circle.callsOf(RecordingCanvas::Kind::Polygon)[0].points.size(), 24u);
}
