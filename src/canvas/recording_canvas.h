#pragma once
// A canvas that records every call with the pen, brush and font in force, so tests can check a
// picture call by call. Text is measured with a fixed metric: each character is
// max(1, size * 2 / 3) wide and a line is max(1, size * 4 / 3) high, in device units.
#include <string>
#include <vector>

#include "canvas/canvas.h"

namespace qav {

class RecordingCanvas : public Canvas {
public:
    enum class Kind { Rectangle, Ellipse, Polygon, Line, Text, RotatedText };
    struct Call {
        Kind kind;
        std::vector<Point> points;  // two corners, the polygon, or the text position
        std::string text;
        double angle = 0;
        Pen pen;
        Brush brush;
        Font font;
    };

    void rectangle(int x1, int y1, int x2, int y2) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void polygon(const std::vector<Point>& points) override;
    void line(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const std::string& text) override;
    void rotatedTextOut(int x, int y, const std::string& text, double angle) override;
    TextSize textExtent(const std::string& text) override;

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> callsOf(Kind kind) const;
    // The texts drawn, in order.
    std::vector<std::string> texts() const;
    void clear() { calls_.clear(); }

private:
    void record(Kind kind, std::vector<Point> pts, std::string text = {}, double angle = 0);
    std::vector<Call> calls_;
};

}  // namespace qav
