#include "app/printing.h"

#include <QPrintDialog>
#include <QPrinter>

#include "app/app_context.h"
#include "render/printing_pages.h"

namespace qav {

namespace {
bool platformDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle("Print");
    return dialog.exec() == QDialog::Accepted;
}

PrinterChooser& chooser() {
    static PrinterChooser c = platformDialog;
    return c;
}
}  // namespace

void setPrinterChooser(PrinterChooser c) {
    chooser() = c ? std::move(c) : PrinterChooser(platformDialog);
}

bool printReport(AppContext& ctx, PageShape shape,
                 const std::function<void(PageDocument&)>& compose) {
    QPrinter& printer = ctx.printer();
    printer.setPageOrientation(shape == PageShape::Landscape ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
    if (!chooser()(printer, ctx.mainWidget())) return false;
    RecordedDocument doc(pageTextMeasure());
    compose(doc);
    renderDocument(doc, printer, printer.resolution());
    return true;
}

}  // namespace qav
