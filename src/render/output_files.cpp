#include "render/output_files.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "model/errors.h"
#include "model/text_file.h"
#include "render/printing_pages.h"

namespace qav {

namespace {
std::string bytesOf(const QByteArray& a) {
    return std::string(a.constData(), static_cast<std::size_t>(a.size()));
}
}  // namespace

void writeImageFile(const QImage& image, const std::string& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, format))
        throw FileError("Cannot write file \"" + path + "\". The picture could not be encoded.");
    writeTextFile(path, bytesOf(bytes));
}

void writePdfFile(const RecordedDocument& doc, const std::string& path, bool landscape) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(PAGE_DPI);
        writer.setCreator("QAV Section");
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                         landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF()));
        renderDocument(doc, writer, PAGE_DPI);
    }
    writeTextFile(path, bytesOf(bytes));
}

}  // namespace qav
