// The render library as the program and the command line use it: recorded pages onto a PDF
// device at another resolution, and the workbook file.
#include <gtest/gtest.h>

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "model/errors.h"
#include "render/printing_pages.h"
#include "render/qt_canvas.h"
#if defined(QAVSEC_WITH_XLSX)
#include "render/xlsx_workbook.h"
#endif

using namespace qav;

namespace {

std::string bytesOf(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(PageRender, EveryRecordedPageReachesTheDeviceAtItsResolution) {
    QTemporaryDir dir;
    RecordedDocument doc(pageTextMeasure());
    doc.page().rectangle(1200, 1200, 2400, 2400);  // one inch from the corner, one inch wide
    doc.newPage();
    doc.page().textOut(1200, 1200, "second");
    doc.newPage();
    doc.page().line(0, 0, 1200, 1200);
    ASSERT_EQ(doc.pageCount(), 3);

    const QString path = dir.filePath("pages.pdf");
    {
        QPdfWriter writer(path);
        writer.setResolution(300);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        renderDocument(doc, writer, 300);
    }
    const std::string pdf = bytesOf(path);
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(count(pdf, "/Type /Page\n") + count(pdf, "/Type /Page\r") +
                  count(pdf, "/Type /Page ") + count(pdf, "/Type /Page/"),
              3)
        << "one device page per recorded page";

    // The same page on a picture at 300 dpi: the inch square lands at 300 .. 600.
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        replayPage(doc.pageAt(0), canvas, 300.0 / PAGE_DPI);
    }
    EXPECT_NE(image.pixel(300, 450), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(600, 450), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(450, 450), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(290, 450), qRgb(255, 255, 255));
}

TEST(PageRender, AFileThatCannotBeWrittenIsAnError) {
    RecordedDocument doc(pageTextMeasure());
    doc.page().line(0, 0, 10, 10);
    QPdfWriter writer(QStringLiteral("/nonexistent/dir/x.pdf"));
    EXPECT_THROW(renderDocument(doc, writer, PAGE_DPI), FileError);
}

#if defined(QAVSEC_WITH_XLSX)
TEST(XlsxWorkbookFile, SavesOnlyWhenAskedAndNamesWhatItCannotWrite) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("book.xlsx").toStdString();
    {
        XlsxWorkbook unsaved(path);
        unsaved.addSheet("A");
        unsaved.setNumber(1, 1, 1.5, 3);
    }
    EXPECT_FALSE(std::ifstream(path).good()) << "nothing is written without save()";
    XlsxWorkbook book(path);
    book.addSheet("A");
    book.setText(1, 1, "x");
    book.save();
    EXPECT_EQ(bytesOf(QString::fromStdString(path)).rfind("PK", 0), 0u) << "an .xlsx file is a zip";
    EXPECT_THROW(XlsxWorkbook("/nonexistent/dir/x.xlsx"), FileError)
        << "refused before any table is computed";
}
#endif
