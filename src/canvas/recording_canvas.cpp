#include "canvas/recording_canvas.h"

#include <algorithm>

namespace qav {

void RecordingCanvas::record(Kind kind, std::vector<Point> pts, std::string text, double angle) {
    calls_.push_back(Call{kind, std::move(pts), std::move(text), angle, pen, brush, font});
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
    record(Kind::Rectangle, {{x1, y1}, {x2, y2}});
}
void RecordingCanvas::ellipse(int x1, int y1, int x2, int y2) {
    record(Kind::Ellipse, {{x1, y1}, {x2, y2}});
}
void RecordingCanvas::polygon(const std::vector<Point>& points) {
    record(Kind::Polygon, points);
}
void RecordingCanvas::line(int x1, int y1, int x2, int y2) {
    record(Kind::Line, {{x1, y1}, {x2, y2}});
}
void RecordingCanvas::textOut(int x, int y, const std::string& text) {
    record(Kind::Text, {{x, y}}, text);
}
void RecordingCanvas::rotatedTextOut(int x, int y, const std::string& text, double angle) {
    record(Kind::RotatedText, {{x, y}}, text, angle);
}

TextSize RecordingCanvas::textExtent(const std::string& text) {
    const int charWidth = std::max(1, font.size * 2 / 3);
    const int lineHeight = std::max(1, font.size * 4 / 3);
    return {static_cast<int>(text.size()) * charWidth, lineHeight};
}

std::vector<RecordingCanvas::Call> RecordingCanvas::callsOf(Kind kind) const {
    std::vector<Call> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [&](const Call& c) { return c.kind == kind; });
    return out;
}

std::vector<std::string> RecordingCanvas::texts() const {
    std::vector<std::string> out;
    for (const auto& c : calls_)
        if (c.kind == Kind::Text || c.kind == Kind::RotatedText) out.push_back(c.text);
    return out;
}

}  // namespace qav
