#include "model/section_file_layout.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "model/number_text.h"
#include "model/section_file.h"

namespace qav {

namespace {

bool blank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string quoted(const std::string& line) {
    constexpr std::size_t SHOWN = 80;
    return "\"" + (line.size() > SHOWN ? line.substr(0, SHOWN) + "..." : line) + "\"";
}

// One kind of record: its keyword and the fields it has, the keyword counted.
struct RecordKind {
    const char* key;
    int minFields;
    int maxFields;
    const char* form;            // as a message shows it
    bool endsWithComma = false;  // the last field is the empty one after a closing comma
};

// A block: either records by keyword, each at most once, or a table (a count, then that many
// numbered records).
struct BlockKind {
    const char* name = nullptr;
    bool repeats = false;
    std::vector<RecordKind> keyed;
    const char* required = nullptr;  // the keyed record the block must hold
    const char* countKey = nullptr;
    const char* oldCountKey = nullptr;  // earlier writers' count line of the same block
    RecordKind record{};
    int firstNumber = 1;  // 0 for a polygon: its corners and the closing slot, count + 1 records
};

RecordKind single(const char* key, const char* form) {
    return {key, 2, 2, form};
}

BlockKind polygon(const char* name, bool repeats) {
    BlockKind b;
    b.name = name;
    b.repeats = repeats;
    b.countKey = "NPOINT";
    b.record = {"PT", 4, 4, "PT,<number>,<X>,<Y>"};
    b.firstNumber = 0;
    return b;
}

BlockKind table(const char* name, const char* countKey, RecordKind record) {
    BlockKind b;
    b.name = name;
    b.countKey = countKey;
    b.record = record;
    return b;
}

const std::vector<BlockKind>& blockKinds() {
    static const std::vector<BlockKind> kinds = [] {
        std::vector<BlockKind> k;
        BlockKind gen;
        gen.name = "GEN";
        gen.keyed = {
            single("USE_CONC", "USE_CONC,<index>"), single("USE_REBAR", "USE_REBAR,<index>"),
            single("USE_STEEL", "USE_STEEL,<index>"), single("USE_COVER", "USE_COVER,<index>"),
            single("MESH_SIZE", "MESH_SIZE,<size>")};
        k.push_back(gen);
        BlockKind design;
        design.name = "DESIGN";
        design.keyed = {single("CODE", "CODE,<code>"), single("ALPHA_CC", "ALPHA_CC,<value>"),
                        single("TIES", "TIES,<TIED or SPIRAL>")};
        design.required = "CODE";
        k.push_back(design);
        k.push_back(polygon("POLY", false));
        k.push_back(polygon("STEELPOLY", true));
        k.push_back(polygon("OPENPOLY", true));
        k.push_back(polygon("REBARPOLY", false));
        k.push_back(table("REBAR", "NBAR", {"BAR", 5, 5, "BAR,<number>,<X>,<Y>,<DB>"}));
        k.push_back(table("CONC MAT", "NCONCMAT",
                          {"CONCMAT", 7, 7, "CONCMAT,<number>,<NAME>,<EC>,<FC>,<EPS_0>,<EPS_CU>"}));
        BlockKind cover =
            table("COVER MAT", "NCOVERMAT",
                  {"COVERMAT", 7, 7, "COVERMAT,<number>,<NAME>,<EC>,<FC>,<EPS_0>,<EPS_CU>"});
        cover.oldCountKey = "NCONCMAT";
        k.push_back(cover);
        k.push_back(table("STEEL MAT", "NSTEELMAT",
                          {"STEELMAT", 5, 6, "STEELMAT,<number>,<NAME>,<ES>,<FY>[,<RF>]"}));
        k.push_back(table("CHECKLOADING", "NFORCE",
                          {"FORCE", 7, 7, "FORCE,<number>,<P>,<MX>,<MY>,<name>,", true}));
        return k;
    }();
    return kinds;
}

std::string blockNames() {
    std::string s;
    for (const BlockKind& b : blockKinds()) s += (s.empty() ? "" : ", ") + std::string(b.name);
    return s;
}

const BlockKind* blockNamed(const std::string& name) {
    for (const BlockKind& b : blockKinds())
        if (name == b.name) return &b;
    return nullptr;
}

// The block a marker line starts or ends, and which; nullptr when the line is no marker of a
// block the file has.
const BlockKind* markerOf(const std::string& line, const char* tail) {
    const std::string t = std::string(" ") + tail;
    if (!endsWith(line, t)) return nullptr;
    return blockNamed(line.substr(0, line.size() - t.size()));
}

std::string keysOf(const BlockKind& b) {
    std::vector<std::string> keys;
    if (b.countKey) keys = {b.countKey, b.record.key};
    for (const RecordKind& r : b.keyed) keys.emplace_back(r.key);
    std::string s;
    for (std::size_t i = 0; i < keys.size(); ++i)
        s += (i == 0 ? "" : i + 1 == keys.size() ? " and " : ", ") + keys[i];
    return s;
}

int fieldCount(const std::string& line) {
    return static_cast<int>(std::count(line.begin(), line.end(), ',')) + 1;
}

class LayoutCheck {
public:
    explicit LayoutCheck(const std::vector<std::string>& data) : data_(data) {}

    std::vector<std::string> run() {
        std::vector<std::string> lines;
        lines.reserve(data_.size());
        for (const std::string& raw : data_) {
            lines.push_back(trimmed(raw));
            ln_ = static_cast<int>(lines.size());
            line_ = &lines.back();
            if (line_->empty()) continue;
            if (open_)
                inside();
            else
                outside();
        }
        if (open_)
            refuseAt(static_cast<int>(data_.size()),
                     Format("the file ends inside the %s block that starts at line %D: expected "
                            "%s",
                            {open_->name, openLine_, expectedNext()}));
        return lines;
    }

private:
    const std::vector<std::string>& data_;
    int ln_ = 0;  // 1-based
    const std::string* line_ = nullptr;
    const BlockKind* open_ = nullptr;
    int openLine_ = 0;
    std::map<std::string, int> blocksSeen_;  // name -> line of its first start
    std::map<std::string, int> keysSeen_;    // keyed records of the open block -> line
    bool counted_ = false;
    int countLine_ = 0;
    long long expected_ = 0;  // records the count announces
    long long got_ = 0;

    [[noreturn]] static void refuseAt(int ln, const std::string& why) {
        throw SectionLayoutError(ln, why + "; the section file was not read.");
    }
    [[noreturn]] void refuse(const std::string& why) const {
        refuseAt(ln_, quoted(*line_) + ": " + why);
    }

    int integer(const std::string& text) const {
        try {
            return ToInt(text);
        } catch (const ConversionError& e) {
            throw LineConversionError(ln_, e.what());
        }
    }

    void outside() {
        const std::string& l = *line_;
        if (const BlockKind* b = markerOf(l, "START")) return start(*b);
        if (markerOf(l, "END")) refuse("this ends a block that was not started");
        if (markerOf(upper(l), "START") || markerOf(upper(l), "END"))
            refuse("block markers are written in capitals (\"" + upper(l) + "\")");
        if (endsWith(l, " START"))
            refuse("the section file has no such block (its blocks are " + blockNames() + ")");
        refuse(
            "a record outside any block: a block starts with \"<NAME> START\" and ends with "
            "\"<NAME> END\"");
    }

    void start(const BlockKind& b) {
        const auto seen = blocksSeen_.find(b.name);
        if (seen != blocksSeen_.end() && !b.repeats)
            refuse(
                Format("a second %s block (the first starts at line %D)", {b.name, seen->second}));
        blocksSeen_.emplace(b.name, ln_);
        open_ = &b;
        openLine_ = ln_;
        keysSeen_.clear();
        counted_ = false;
        got_ = expected_ = 0;
    }

    std::string expectedNext() const {
        const BlockKind& b = *open_;
        const std::string end = "\"" + std::string(b.name) + " END\"";
        if (b.required && !keysSeen_.count(b.required))
            return "a " + std::string(b.required) + " line";
        if (!b.countKey) return end;
        if (!counted_) return "\"" + std::string(b.countKey) + ",<count>\"";
        if (got_ < expected_)
            return Format("%s,%D (%D of the %D records %s,%D announces at line %D)",
                          {b.record.key, static_cast<int>(b.firstNumber + got_),
                           static_cast<int>(got_ + 1), static_cast<int>(expected_), b.countKey,
                           static_cast<int>(expected_ - (b.firstNumber == 0 ? 1 : 0)), countLine_});
        return end;
    }

    void inside() {
        const std::string& l = *line_;
        const BlockKind& b = *open_;
        if (l == std::string(b.name) + " END") return close();
        if (markerOf(l, "START") || markerOf(l, "END"))
            refuse(Format("the %s block that starts at line %D has not ended: expected %s",
                          {b.name, openLine_, expectedNext()}));
        const std::vector<std::string> f = getstr(l, 3);
        if (b.countKey && (f[1] == b.countKey || (b.oldCountKey && f[1] == b.oldCountKey)))
            return count(f);
        if (b.countKey && f[1] == b.record.key) return record(f);
        for (const RecordKind& r : b.keyed)
            if (f[1] == r.key) return keyed(r);
        std::string why = "the " + std::string(b.name) + " block holds " + keysOf(b) + " records";
        if (l.find('\t') != std::string::npos)
            why += "; fields are separated by commas, not tabs";
        else if (upper(f[1]) != f[1])
            why += " (keywords are written in capitals)";
        refuse(why);
    }

    void fieldsOf(const RecordKind& r) const {
        const int n = fieldCount(*line_);
        const bool closed = !r.endsWithComma || line_->back() == ',';
        if (n >= r.minFields && n <= r.maxFields && closed) return;
        const std::string has = r.minFields == r.maxFields
                                    ? Format("%D fields", {r.minFields})
                                    : Format("%D or %D fields", {r.minFields, r.maxFields});
        refuse(
            Format("a %s record has %s, %s, with a period as decimal separator%s; this line "
                   "has %D",
                   {r.key, has, r.form, r.endsWithComma ? " and a comma at the end" : "", n}));
    }

    void count(const std::vector<std::string>& f) {
        const BlockKind& b = *open_;
        if (counted_)
            refuse(Format("a second count in the %s block (the first is line %D)",
                          {b.name, countLine_}));
        if (fieldCount(*line_) != 2)
            refuse(Format("a %s line has 2 fields, %s,<count>; this line has %D",
                          {b.countKey, b.countKey, fieldCount(*line_)}));
        const int n = integer(f[2]);
        if (n < 0) refuse("a count is 0 or more");
        counted_ = true;
        countLine_ = ln_;
        expected_ = static_cast<long long>(n) + (b.firstNumber == 0 ? 1 : 0);
    }

    void record(const std::vector<std::string>& f) {
        const BlockKind& b = *open_;
        if (!counted_)
            refuse(Format("expected \"%s,<count>\" before the %s records",
                          {b.countKey, b.record.key}));
        fieldsOf(b.record);
        const int number = integer(f[2]);
        if (got_ == expected_)
            refuse(Format("%s,%D at line %D announces %D records; this is one more",
                          {b.countKey, static_cast<int>(expected_ - (b.firstNumber == 0 ? 1 : 0)),
                           countLine_, static_cast<int>(expected_)}));
        const long long want = b.firstNumber + got_;
        if (number != want)
            refuse(
                Format("expected %s,%D: the records are numbered %D, %D, ... in order",
                       {b.record.key, static_cast<int>(want), b.firstNumber, b.firstNumber + 1}));
        ++got_;
    }

    void keyed(const RecordKind& r) {
        const auto seen = keysSeen_.find(r.key);
        if (seen != keysSeen_.end())
            refuse(Format("a second %s line in the %s block (the first is line %D)",
                          {r.key, open_->name, seen->second}));
        fieldsOf(r);
        keysSeen_.emplace(r.key, ln_);
    }

    void close() {
        const BlockKind& b = *open_;
        if (b.required && !keysSeen_.count(b.required))
            refuse(Format("the %s block that starts at line %D has no %s line",
                          {b.name, openLine_, b.required}));
        if (b.countKey && (!counted_ || got_ < expected_))
            refuse(Format("the %s block that starts at line %D ends early: expected %s",
                          {b.name, openLine_, expectedNext()}));
        open_ = nullptr;
    }
};

}  // namespace

std::vector<std::string> checkedSectionLines(const std::vector<std::string>& DATA) {
    return LayoutCheck(DATA).run();
}

}  // namespace qav
