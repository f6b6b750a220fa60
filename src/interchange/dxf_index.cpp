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
    readStructure();
}

const std::string* DxfIndex::entityValue(int r, int code) const {
    for (int i = r + 1; i + 1 < nextZero(r) && i + 1 < size(); ++i)
        if (isCode(i) && this->code(i) == code) return &line(i + 1);
    return nullptr;
}

namespace {

struct UnitName {
    int code;
    const char* name;
    double mm;
};
// $INSUNITS codes; 0 (unitless) reads as millimetres.
constexpr UnitName UNITS[] = {{0, "unitless", 1},
                              {1, "inches", 25.4},
                              {2, "feet", 304.8},
                              {3, "miles", 0},
                              {4, "millimetres", 1},
                              {5, "centimetres", 10},
                              {6, "metres", 1000},
                              {7, "kilometres", 0},
                              {8, "microinches", 0},
                              {9, "mils", 0},
                              {10, "yards", 0},
                              {11, "angstroms", 0},
                              {12, "nanometres", 0},
                              {13, "microns", 0},
                              {14, "decimetres", 0},
                              {15, "decametres", 0},
                              {16, "hectometres", 0},
                              {17, "gigametres", 0},
                              {18, "astronomical units", 0},
                              {19, "light years", 0},
                              {20, "parsecs", 0}};
}  // namespace

void DxfIndex::readStructure() {
    const int n = size();
    int sectionStart = -1;
    bool blocks = false;
    for (int z : zeros_) {
        if (z + 1 >= n) break;
        if (trimmedEquals(line(z + 1), "SECTION")) {
            const std::string* name = entityValue(z + 1, 2);
            sectionStart = z;
            blocks = name && trimmedEquals(*name, "BLOCKS");
        } else if (trimmedEquals(line(z + 1), "ENDSEC")) {
            if (blocks) blocks_.push_back({sectionStart, z + 1});
            blocks = false;
        } else if (!blocks && trimmedEquals(line(z + 1), "INSERT")) {
            const std::string* name = entityValue(z + 1, 2);
            inserts_.push_back({z + 1, name ? *name : std::string()});
        }
    }
    if (blocks) blocks_.push_back({sectionStart, n});
    // $INSUNITS: code 9 with the variable's name, then its code 70.
    for (int i = 0; i + 3 < n; ++i) {
        if (!isCode(i) || code(i) != 9 || !trimmedEquals(line(i + 1), "$INSUNITS")) continue;
        if (!isCode(i + 2) || code(i + 2) != 70) break;
        int unit = -1;
        if (!parseCode(line(i + 3), unit)) break;
        for (const UnitName& u : UNITS)
            if (u.code == unit) {
                if (u.mm == 0)
                    throw InputError("Line " + std::to_string(i + 4) + ": the drawing is in " +
                                     u.name + " ($INSUNITS " + std::to_string(unit) +
                                     "); the import reads drawings in millimetres, centimetres, "
                                     "metres, inches or feet. Scale it to one of them.");
                unitScale_ = u.mm;
            }
        break;
    }
}

bool DxfIndex::inBlocks(int i) const {
    for (const auto& [first, last] : blocks_)
        if (i >= first && i <= last) return true;
    return false;
}

std::vector<std::string> DxfIndex::blockContents(const std::string& block) const {
    std::vector<std::string> out;
    bool inside = false;
    for (int z : zeros_) {
        if (z + 1 >= size() || !inBlocks(z)) continue;
        const std::string& type = line(z + 1);
        if (trimmedEquals(type, "BLOCK")) {
            const std::string* name = entityValue(z + 1, 2);
            inside = name && trimmedEquals(*name, block);
        } else if (trimmedEquals(type, "ENDBLK")) {
            inside = false;
        } else if (inside) {
            out.push_back(type);
        }
    }
    return out;
}

}  // namespace qav
