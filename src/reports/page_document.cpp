#include "reports/page_document.h"

#include <algorithm>

#include "model/number_text.h"

namespace qav {

class RecordedDocument::Page : public RecordingCanvas {
public:
    explicit Page(const Measure& measure) : measure_(measure) {}
    TextSize textExtent(const std::string& text) override {
        return measure_ ? measure_(font, text) : RecordingCanvas::textExtent(text);
    }

private:
    const Measure& measure_;
};

RecordedDocument::RecordedDocument(Measure measure) : measure_(std::move(measure)) {
    pages_.push_back(std::make_unique<Page>(measure_));
}

RecordedDocument::~RecordedDocument() = default;

Canvas& RecordedDocument::page() {
    return *pages_.back();
}

void RecordedDocument::newPage() {
    // The new page starts with the tools of the old one, as a printer canvas keeps them.
    auto next = std::make_unique<Page>(measure_);
    next->pen = pages_.back()->pen;
    next->brush = pages_.back()->brush;
    next->font = pages_.back()->font;
    pages_.push_back(std::move(next));
}

const RecordingCanvas& RecordedDocument::pageAt(int i) const {
    return *pages_.at(static_cast<std::size_t>(i));
}

void drawSegments(Canvas& canvas, const std::vector<Segment>& segments) {
    for (const Segment& s : segments) {
        canvas.moveTo(s.x1, s.y1);
        canvas.lineTo(s.x2, s.y2);
    }
}

void replayPage(const RecordingCanvas& page, Canvas& target, double scale) {
    auto s = [scale](int v) { return scale == 1.0 ? v : Round(v * scale); };
    using Kind = RecordingCanvas::Kind;
    for (const RecordingCanvas::Call& c : page.calls()) {
        target.pen = c.pen;
        target.pen.width = std::max(1, s(c.pen.width));
        target.brush = c.brush;
        target.font = c.font;
        const std::vector<Point>& p = c.points;
        switch (c.kind) {
            case Kind::Rectangle:
                target.rectangle(s(p[0].x), s(p[0].y), s(p[1].x), s(p[1].y));
                break;
            case Kind::Ellipse:
                target.ellipse(s(p[0].x), s(p[0].y), s(p[1].x), s(p[1].y));
                break;
            case Kind::Line:
                target.line(s(p[0].x), s(p[0].y), s(p[1].x), s(p[1].y));
                break;
            case Kind::Text:
                target.textOut(s(p[0].x), s(p[0].y), c.text);
                break;
            case Kind::RotatedText:
                target.rotatedTextOut(s(p[0].x), s(p[0].y), c.text, c.angle);
                break;
            case Kind::Polygon: {
                std::vector<Point> q;
                q.reserve(p.size());
                for (const Point& pt : p) q.push_back({s(pt.x), s(pt.y)});
                target.polygon(q);
                break;
            }
        }
    }
}

}  // namespace qav
