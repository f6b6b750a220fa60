#pragma once
// The 2-D drawing surface every picture of the program is drawn on: the section view, the
// charts, the printed pages and the builder previews. Drawing code sets the public pen, brush
// and font (as one sets a painter's tools) and calls the primitives with integer device
// coordinates, x to the right and y downwards.
#include <cstdint>
#include <string>
#include <vector>

namespace qav {

struct Color {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
inline constexpr Color red{255, 0, 0};
inline constexpr Color blue{0, 0, 255};
inline constexpr Color green{0, 128, 0};
inline constexpr Color yellow{255, 255, 0};
inline constexpr Color magenta{255, 0, 255};
inline constexpr Color cyan{0, 255, 255};
inline constexpr Color lightGrey{245, 245, 245};
inline constexpr Color midGrey{220, 220, 220};
inline constexpr Color darkGrey{200, 200, 200};
inline constexpr Color grey{128, 128, 128};
}  // namespace colors

enum class PenStyle { Solid, Dot, Dash, DashDot, Clear };
enum class PenMode { Copy, Invert };  // Invert: each pixel drawn becomes its inverse
enum class BrushStyle { Solid, Clear };

struct Pen {
    Color color = colors::black;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Color color = colors::white;
    BrushStyle style = BrushStyle::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
    std::string name = "Arial";
    int size = 8;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color = colors::black;
    friend bool operator==(const Font&, const Font&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct TextSize {
    int width = 0, height = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    Pen pen;
    Brush brush;
    Font font;

    // Outlined with the pen and filled with the brush.
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
    // The ellipse inscribed in the box.
    virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
    // Closed automatically.
    virtual void polygon(const std::vector<Point>& points) = 0;
    // A pen line; its end point is not painted.
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // The text's top-left cell corner at (x, y); the background is filled with the brush when
    // the brush is solid.
    virtual void textOut(int x, int y, const std::string& text) = 0;
    // The text turned counter-clockwise by angle degrees about (x, y), the top-left corner of
    // its unrotated cell; background transparent.
    virtual void rotatedTextOut(int x, int y, const std::string& text, double angle) = 0;
    virtual TextSize textExtent(const std::string& text) = 0;

    int textWidth(const std::string& text) { return textExtent(text).width; }
    int textHeight(const std::string& text) { return textExtent(text).height; }

    // The pen position for polylines drawn with moveTo/lineTo.
    void moveTo(int x, int y) { pos_ = {x, y}; }
    void lineTo(int x, int y) {
        line(pos_.x, pos_.y, x, y);
        pos_ = {x, y};
    }
    Point penPos() const { return pos_; }

private:
    Point pos_;
};

}  // namespace qav
