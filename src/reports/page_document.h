#pragma once
// A printed document as the page compositions see it, and a recorded document that holds the
// pages until the composition is complete: a composition that stops half-way (a field that is
// not a number) then leaves no half-printed job behind, and the finished pages can be replayed
// on a printer of any resolution.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/recording_canvas.h"

namespace qav {

// The resolution the page compositions are laid out for (device units per inch).
inline constexpr int PAGE_DPI = 1200;

class PageDocument {
public:
    virtual ~PageDocument() = default;
    // The canvas of the current page.
    virtual Canvas& page() = 0;
    // Ends the current page and starts the next.
    virtual void newPage() = 0;
};

class RecordedDocument : public PageDocument {
public:
    // How a text measures on the target device at PAGE_DPI; empty: the recording canvas metric.
    using Measure = std::function<TextSize(const Font&, const std::string&)>;

    explicit RecordedDocument(Measure measure = {});
    ~RecordedDocument() override;

    Canvas& page() override;
    void newPage() override;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    const RecordingCanvas& pageAt(int i) const;

private:
    class Page;
    Measure measure_;
    std::vector<std::unique_ptr<Page>> pages_;
};

// A straight line of a page frame, from its first point to its second.
struct Segment {
    int x1, y1, x2, y2;
};
// Draws the segments in order, each with MoveTo and LineTo in the current pen.
void drawSegments(Canvas& canvas, const std::vector<Segment>& segments);

// Draws a recorded page on another canvas with every coordinate multiplied by scale (the target
// resolution over PAGE_DPI). Font sizes are points and stay; pen widths scale, at least 1.
void replayPage(const RecordingCanvas& page, Canvas& target, double scale);

}  // namespace qav
