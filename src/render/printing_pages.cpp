#include "render/printing_pages.h"

#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <memory>

#include "model/errors.h"
#include "render/qt_canvas.h"

namespace qav {

namespace {
// A one-pixel picture at 1200 dpi: fonts measured on it have their printed size in page units.
struct MeasuringDevice {
    QImage image{1, 1, QImage::Format_RGB32};
    QPainter painter;
    std::unique_ptr<QtCanvas> canvas;
    MeasuringDevice() {
        const int dotsPerMeter = qRound(PAGE_DPI / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        painter.begin(&image);
        canvas = std::make_unique<QtCanvas>(painter);
    }
};
}  // namespace

RecordedDocument::Measure pageTextMeasure() {
    auto device = std::make_shared<MeasuringDevice>();
    return [device](const Font& font, const std::string& text) {
        device->canvas->font = font;
        return device->canvas->textExtent(text);
    };
}

void renderDocument(const RecordedDocument& doc, QPagedPaintDevice& device, int resolution) {
    QPainter painter;
    if (!painter.begin(&device)) throw FileError("The printer could not start the document.");
    // The pages are laid out from the paper's corner; a device that paints from the corner of
    // its margins is moved back by them.
    painter.translate(-device.pageLayout().paintRectPixels(resolution).topLeft());
    QtCanvas canvas(painter);
    const double scale = resolution > 0 ? static_cast<double>(resolution) / PAGE_DPI : 1.0;
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            throw FileError("The printer could not start a new page.");
        }
        replayPage(doc.pageAt(i), canvas, scale);
    }
    if (!painter.end()) throw FileError("The printer could not finish the document.");
}

}  // namespace qav
