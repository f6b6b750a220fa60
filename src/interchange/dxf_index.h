#pragma once
// A DXF file is a run of pairs: a group-code line, then its value line. The section readers
// test line texts, but a text only counts as a group code where a group code stands, so a value
// that happens to read "0" or "10" is never taken for one. This index finds the code lines and
// the entity boundaries once for the whole file, so no reader has to rescan it.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qav {

class DxfIndex {
public:
    explicit DxfIndex(const std::vector<std::string>& lines);

    int size() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int i) const { return lines_[static_cast<std::size_t>(i)]; }
    bool isCode(int i) const { return codes_[static_cast<std::size_t>(i)] != NOT_A_CODE; }
    // The first line after line i that is a group code 0 (the start of the next entity,
    // table entry or section marker), or size() when there is none.
    int nextZero(int i) const { return nextZero_[static_cast<std::size_t>(i)]; }
    // The code-0 lines, in file order.
    const std::vector<int>& zeros() const { return zeros_; }
    // The value line of the code on line i, or nullptr at the end of the file.
    const std::string* valueOf(int i) const { return i + 1 < size() ? &line(i + 1) : nullptr; }
    // The group code on line i (a code line).
    int code(int i) const { return codes_[static_cast<std::size_t>(i)]; }
    // The value of group code `code` in the entity named on line r (up to the next entity), or
    // nullptr.
    const std::string* entityValue(int r, int code) const;
    // Whether line i lies in the BLOCKS section: block definitions are drawn only where an
    // INSERT places them, never where they are defined.
    bool inBlocks(int i) const;
    // The name of the block the BLOCK entity on code line z defines, and the entity names of what
    // it holds; the first line of each INSERT in the entities with the block it places.
    struct Insert {
        int line;
        std::string block;
    };
    const std::vector<Insert>& inserts() const { return inserts_; }
    std::vector<std::string> blockContents(const std::string& block) const;
    // Millimetres per drawing unit by the header's $INSUNITS: 1 without it or when unitless;
    // other units than mm, cm, m, in and ft are refused by name (InputError).
    double unitScale() const { return unitScale_; }

private:
    void readStructure();
    static constexpr int NOT_A_CODE = -1000000;
    const std::vector<std::string>& lines_;
    std::vector<int> codes_;
    std::vector<int> nextZero_;
    std::vector<int> zeros_;
    std::vector<std::pair<int, int>> blocks_;  // first and last line of the BLOCKS sections
    std::vector<Insert> inserts_;
    double unitScale_ = 1;
};

// Line text with leading and trailing blanks and control characters removed, compared with s.
bool trimmedEquals(const std::string& line, std::string_view s);

}  // namespace qav
