#pragma once
// The workbook behind the spreadsheet exports: a real .xlsx file written with libxlsxwriter.
// Plain C++ (no Qt), so the command line writes the same file as the application.
#include <map>
#include <memory>
#include <string>

#include "reports/workbook.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace qav {

class StagedFile;

class XlsxWorkbook : public Workbook {
public:
    explicit XlsxWorkbook(std::string path);
    ~XlsxWorkbook() override;
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    void addSheet(const std::string& name) override;
    void activate(const std::string& name) override;
    void setText(int row, int col, const std::string& text) override;
    void setNumber(int row, int col, double value, int decimals) override;

    // Writes the file whole, in place of the earlier one (a workbook without sheets gets one
    // empty "Sheet1"). Throws FileError with the reason, the earlier file untouched. Without
    // save() nothing is written.
    void save();
    const std::string& path() const { return path_; }

private:
    lxw_worksheet* active();
    lxw_format* numberFormat(int decimals);
    std::string path_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* active_ = nullptr;
    int sheets_ = 0;
    std::unique_ptr<StagedFile> staged_;  // where the library writes until the file is whole
    std::map<int, lxw_format*> formats_;
};

}  // namespace qav
