#pragma once
// Recorded pages onto a Qt paged device (the printer, or the command line's PDF writer), with
// QtGui only. Texts are measured as they print: in their point size at 1200 dpi, whatever the
// device, and a device of another resolution gets every coordinate scaled.
#include "reports/page_document.h"

class QPagedPaintDevice;

namespace qav {

// Measures texts in the page fonts at PAGE_DPI (needs a QGuiApplication).
RecordedDocument::Measure pageTextMeasure();

// Paints every page of doc on device from the paper's top-left corner, starting a new device
// page for each page after the first. Throws FileError when the device cannot be painted on (a PDF
// file that cannot be written, a printer that is gone).
void renderDocument(const RecordedDocument& doc, QPagedPaintDevice& device, int resolution);

}  // namespace qav
