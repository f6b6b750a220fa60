#include "render/xlsx_workbook.h"

#include "model/errors.h"
#include "model/text_file.h"

#if defined(QAVSEC_WITH_XLSX)
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace qav {

namespace {

void check(lxw_error e, const std::string& what) {
    if (e != LXW_NO_ERROR) throw FileError(what + ": " + lxw_strerror(e));
}

// Spreadsheet rows and columns, 1-based; the file format stops at 1048576 x 16384.
void checkCell(int row, int col) {
    if (row < 1 || row > LXW_ROW_MAX || col < 1 || col > LXW_COL_MAX)
        throw FileError("The table does not fit in a worksheet.");
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(std::string path) : path_(std::move(path)) {
    // Refuses a place that cannot be written before any table is computed for it.
    staged_ = std::make_unique<StagedFile>(path_);
    book_ = workbook_new(staged_->path().c_str());
    if (!book_) throw FileError("Cannot create the workbook " + path_);
}

XlsxWorkbook::~XlsxWorkbook() {
    // Never saved: freed, and the staged file goes with the workbook.
    if (book_) lxw_workbook_free(book_);
}

void XlsxWorkbook::addSheet(const std::string& name) {
    if (!book_) throw FileError("The workbook " + path_ + " is already saved.");
    lxw_worksheet* ws = workbook_add_worksheet(book_, name.c_str());
    if (!ws) throw FileError("Cannot add the worksheet '" + name + "'.");
    ++sheets_;
    active_ = ws;
}

void XlsxWorkbook::activate(const std::string& name) {
    if (!book_) throw FileError("The workbook " + path_ + " is already saved.");
    lxw_worksheet* ws = workbook_get_worksheet_by_name(book_, name.c_str());
    if (!ws) throw FileError("The workbook has no worksheet '" + name + "'.");
    active_ = ws;
}

lxw_worksheet* XlsxWorkbook::active() {
    if (!active_) throw FileError("The workbook has no worksheet to write to.");
    return active_;
}

lxw_format* XlsxWorkbook::numberFormat(int decimals) {
    if (decimals <= 0) return nullptr;
    auto it = formats_.find(decimals);
    if (it != formats_.end()) return it->second;
    lxw_format* f = workbook_add_format(book_);
    format_set_num_format(f, ("0." + std::string(static_cast<std::size_t>(decimals), '0')).c_str());
    formats_[decimals] = f;
    return f;
}

void XlsxWorkbook::setText(int row, int col, const std::string& text) {
    checkCell(row, col);
    check(worksheet_write_string(active(), static_cast<lxw_row_t>(row - 1),
                                 static_cast<lxw_col_t>(col - 1), text.c_str(), nullptr),
          "Cannot write a cell");
}

void XlsxWorkbook::setNumber(int row, int col, double value, int decimals) {
    checkCell(row, col);
    // A cell holds only finite numbers; anything else goes in as its text.
    if (!std::isfinite(value)) {
        setText(row, col, value != value ? "NAN" : value > 0 ? "INF" : "-INF");
        return;
    }
    check(worksheet_write_number(active(), static_cast<lxw_row_t>(row - 1),
                                 static_cast<lxw_col_t>(col - 1), value, numberFormat(decimals)),
          "Cannot write a cell");
}

void XlsxWorkbook::save() {
    if (!book_) throw FileError("The workbook " + path_ + " is already saved.");
    if (sheets_ == 0 && !workbook_add_worksheet(book_, "Sheet1"))
        throw FileError("Cannot add the worksheet 'Sheet1'.");
    // Only the last active sheet opens selected: marking each one on the way would leave the
    // sheets grouped, and an edit would go to all of them.
    if (active_) worksheet_activate(active_);
    lxw_workbook* b = book_;
    book_ = nullptr;  // closed (and freed) whatever the outcome
    check(workbook_close(b), "Cannot save the workbook " + path_);
    staged_->commit();
}

}  // namespace qav
#else
// Built without libxlsxwriter: every workbook refuses with one clear message.
namespace qav {
namespace {
[[noreturn]] void unavailable() {
    throw FileError("This build cannot write spreadsheet files (libxlsxwriter was not found).");
}
}  // namespace
XlsxWorkbook::XlsxWorkbook(std::string path) : path_(std::move(path)) {
    unavailable();
}
XlsxWorkbook::~XlsxWorkbook() = default;
void XlsxWorkbook::addSheet(const std::string&) {
    unavailable();
}
void XlsxWorkbook::activate(const std::string&) {
    unavailable();
}
void XlsxWorkbook::setText(int, int, const std::string&) {
    unavailable();
}
void XlsxWorkbook::setNumber(int, int, double, int) {
    unavailable();
}
void XlsxWorkbook::save() {
    unavailable();
}
}  // namespace qav
#endif
