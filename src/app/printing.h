#pragma once
// Printing the reports through the one printer of "Printer Setting". The user picks printer or
// PDF file in the platform's print dialog; the document is then composed (running whatever
// analyses it prints) and only a complete document is sent: a composition stopped by an error
// leaves no job open.
#include <functional>

#include "reports/page_document.h"

class QPrinter;
class QWidget;

namespace qav {

class AppContext;

// Asks where to print; false when the user cancels. Tests put their own in place.
using PrinterChooser = std::function<bool(QPrinter&, QWidget* parent)>;
// Replaces the print dialog; an empty chooser restores it.
void setPrinterChooser(PrinterChooser chooser);

// The way a document's frame is laid out on the paper.
enum class PageShape { Landscape, Portrait };

// Offers the document's orientation in the print dialog (the paper stays the printer's), asks,
// composes with the page fonts measured at 1200 dpi and prints. False when cancelled. Errors of
// the composition or of the printer are thrown to the command boundary.
bool printReport(AppContext& ctx, PageShape shape,
                 const std::function<void(PageDocument&)>& compose);

}  // namespace qav
