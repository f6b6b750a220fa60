#include "interchange/dxf_index.h"

#include "model/errors.h"

namespace qav {

namespace {

// A group code: blanks, an optional minus sign and one to six digits, blanks.
bool parseCode(const std::string& s, int& code) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    bool negative = false;
    if (b < e && s[b] == '-') {
        negative = true;
        ++b;
    }
    if (b == e || e - b > 6) return false;
    int v = 0;
    for (std::size_t i = b; i < e; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    code = negative ? -v : v;
    return true;
}

}  // namespace

bool trimmedEquals(const std::string& line, std::string_view s) {
    std::size_t b = 0, e = line.size();
    while (b < e && static_cast<unsigned char>(line[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(line[e - 1]) <= ' ') --e;
    return std::string_view(line).substr(b, e - b) == s;
}

DxfIndex::DxfIndex(const std::vector<std::string>& lines) : lines_(lines) {
    if (lines.size() > 0x3fffffffu) throw InputError("The DXF file has too many lines to import.");
    const int n = size();
    codes_.assign(static_cast<std::size_t>(n), NOT_A_CODE);
    // Pairs from the first line on. A line that cannot be a code where one is due is skipped
    // alone, so stray lines (a blank line, a byte-order mark) do not shift every pair after it.
    for (int i = 0; i < n;) {
        int code = 0;
        if (parseCode(line(i), code)) {
            codes_[static_cast<std::size_t>(i)] = code;
            if (code == 0) zeros_.push_back(i);
            i += 2;
        } else {
            ++i;
        }
    }
    nextZero_.assign(static_cast<std::size_t>(n), n);
    int next = n;
    for (int i = n - 1; i >= 0; --i) {
        nextZero_[static_cast<std::size_t>(i)] = next;
        if (codes_[static_cast<std::size_t>(i)] == 0) next = i;
    }
}

}  // namespace qav
