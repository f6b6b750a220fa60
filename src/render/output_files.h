#pragma once
// Pictures and PDF documents written whole or not at all: made in memory, then put in place of
// the earlier file as text files are (model/text_file.h).
#include <string>

#include "reports/page_document.h"

class QImage;

namespace qav {

// format: a Qt image format ("PNG", "BMP"). Throws FileError with the reason.
void writeImageFile(const QImage& image, const std::string& path, const char* format);

// The recorded pages as an A4 PDF. Throws FileError with the reason.
void writePdfFile(const RecordedDocument& doc, const std::string& path, bool landscape);

}  // namespace qav
