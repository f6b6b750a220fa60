#include "interchange/dxf_export.h"

#include <gtest/gtest.h>

#include "interchange/dxf_import.h"

using namespace qav;

namespace {

using Lines = std::vector<std::string>;

SectionModel rectangleWithTwoBars() {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-300, -400}, {300, -400}, {300, 400}, {-300, 400}, {-300, -400}};
    ADD_SINGLE_REBAR(m, -250, 175.5, 25);
    ADD_SINGLE_REBAR(m, 250, 175.5, 25);
    return m;
}

// Index of the first line equal to `s` at or after `from`.
std::size_t find(const Lines& l, const std::string& s, std::size_t from = 0) {
    for (std::size_t i = from; i < l.size(); ++i)
        if (l[i] == s) return i;
    return l.size();
}

std::vector<std::string> handles(const Lines& l) {
    std::vector<std::string> out;
    const std::size_t start = find(l, "ENTITIES");
    for (std::size_t i = start; i + 1 < l.size(); ++i)
        if (l[i] == "5") out.push_back(l[i + 1]);
    return out;
}

}  // namespace

TEST(DxfExport, EmptyModelIsHeaderOneEmptyPolylineAndEnd) {
    const Lines l = exportDxfLines(SectionModel{});
    const Lines head = {"0",     "SECTION",    "2",         "HEADER", "9",     "$LTSCALE", "40",
                        "30",    "9",          "$INSUNITS", "70",     "4",     "0",        "ENDSEC",
                        "0",     "SECTION",    "  2",       "TABLES", "0",     "TABLE",    "  2",
                        "STYLE", " 70",        "1",         "  0",    "STYLE", "  2",      "QAVSEC",
                        " 70",   "0",          " 40",       "0.0",    " 41",   "1.0",      " 50",
                        "0.0",   " 71",        "     0",    " 42",    "0.2",   "  3",      " ",
                        "  4",   "gbcbig.shx", "  0",       "ENDTAB", "0",     "TABLE",    "2",
                        "LTYPE", "0",          "LTYPE",     "2",      "DASH"};
    ASSERT_GT(l.size(), head.size());
    EXPECT_EQ(Lines(l.begin(), l.begin() + static_cast<long>(head.size())), head);
    const Lines tail = {"0", "SECTION", "  2", "ENTITIES", "0",  "POLYLINE", "5",   "10001",
                        "8", "POLY",    "66",  "1",        "70", "1",        "0",   "SEQEND",
                        "5", "10002",   "8",   "0",        "0",  "ENDSEC",   "  0", "EOF"};
    EXPECT_EQ(Lines(l.end() - static_cast<long>(tail.size()), l.end()), tail);
    EXPECT_EQ(l.size(), 154u);
}

TEST(DxfExport, LayerTableListsAllFiveLayers) {
    const Lines l = exportDxfLines(SectionModel{});
    const std::size_t t = find(l, "LAYER");
    ASSERT_LT(t, l.size());
    EXPECT_EQ(Lines(l.begin() + static_cast<long>(t) - 3, l.begin() + static_cast<long>(t) + 3),
              (Lines{"  0", "TABLE", "  2", "LAYER", " 70", "18"}));
    struct Row {
        const char* name;
        const char* colour;
    };
    const Row rows[] = {
        {"POLY", "2"}, {"REBAR", "1"}, {"STEEL", "4"}, {"OPENING", "40"}, {"REBARLINE", "6"}};
    std::size_t at = t + 3;
    for (const Row& r : rows) {
        const Lines expected = {"  0 ",   "LAYER", "  2 ",   r.name, " 70",
                                "     0", " 62",   r.colour, "  6",  "CONTINUOUS"};
        EXPECT_EQ(Lines(l.begin() + static_cast<long>(at), l.begin() + static_cast<long>(at + 10)),
                  expected)
            << r.name;
        at += 10;
    }
    EXPECT_EQ(l[at], "  0");
    EXPECT_EQ(l[at + 1], "ENDTAB");
    EXPECT_EQ(find(l, "ISO dash space __    __    __    __    __    __"), find(l, "DASH") + 4);
}

TEST(DxfExport, HandlesAndBarLines) {
    const Lines l = exportDxfLines(rectangleWithTwoBars());
    EXPECT_EQ(handles(l), (std::vector<std::string>{"10001", "10002", "10003", "10004", "10005",
                                                    "10006", "10007", "10008"}));
    const std::size_t c = find(l, "CIRCLE");
    ASSERT_LT(c, l.size());
    EXPECT_EQ(Lines(l.begin() + static_cast<long>(c) - 1, l.begin() + static_cast<long>(c) + 15),
              (Lines{"0", "CIRCLE", "5", "10007", "8", "REBAR", "10", "-250.000", "20", "175.500",
                     "30", "0.00", "40", "12.500", "0", "CIRCLE"}));
    const std::size_t v = find(l, "VERTEX");
    EXPECT_EQ(Lines(l.begin() + static_cast<long>(v) - 1, l.begin() + static_cast<long>(v) + 12),
              (Lines{"0", "VERTEX", "5", "10002", "8", "0", " 10", "-300.000", " 20", "-400.000",
                     " 30", "0", "0"}));
    EXPECT_EQ(find(l, "REBARLINE", find(l, "ENTITIES")), l.size())
        << "no cover line entity without a cover line";
}

TEST(DxfExport, ImportsBackWhole) {
    SectionModel m = rectangleWithTwoBars();
    m.document.NCOVER_PT = 4;
    m.document.COVER_PT = {{-265, -365}, {265, -365}, {265, 365}, {-265, 365}, {0, 0}};
    m.document.NSTEEL_SEC = 2;
    m.document.STEEL_SEC.resize(3);
    m.document.STEEL_SEC[1].NPOINT = 4;
    m.document.STEEL_SEC[1].PT = {{-100, -50}, {100, -50}, {100, 50}, {-100, 50}, {}};
    m.document.STEEL_SEC[2].NPOINT = 3;
    m.document.STEEL_SEC[2].PT = {{0, 100}, {50, 100}, {0, 150}, {}};
    m.document.NOPEN_SEC = 2;
    m.document.OPEN_SEC.resize(3);
    m.document.OPEN_SEC[1].NPOINT = 4;
    m.document.OPEN_SEC[1].PT = {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}, {}};
    m.document.OPEN_SEC[2].NPOINT = 3;
    m.document.OPEN_SEC[2].PT = {{-200, -300}, {-150, -300}, {-200, -250}, {}};

    SectionModel back;
    importDxfLines(back, exportDxfLines(m));
    auto same = [](const std::vector<TPOS>& a, int na, const std::vector<TPOS>& b, int nb) {
        if (na != nb) return false;
        for (int i = 0; i < na; ++i)
            if (a[static_cast<std::size_t>(i)].X != b[static_cast<std::size_t>(i)].X ||
                a[static_cast<std::size_t>(i)].Y != b[static_cast<std::size_t>(i)].Y)
                return false;
        return true;
    };
    EXPECT_TRUE(same(back.document.CONC_PT, back.document.NCONC_PT, m.document.CONC_PT,
                     m.document.NCONC_PT));
    EXPECT_TRUE(same(back.document.COVER_PT, back.document.NCOVER_PT, m.document.COVER_PT,
                     m.document.NCOVER_PT));
    ASSERT_EQ(back.document.NSTEEL_SEC, 2);
    ASSERT_EQ(back.document.NOPEN_SEC, 2);
    for (std::size_t k = 1; k <= 2; ++k) {
        EXPECT_TRUE(same(back.document.STEEL_SEC[k].PT, back.document.STEEL_SEC[k].NPOINT,
                         m.document.STEEL_SEC[k].PT, m.document.STEEL_SEC[k].NPOINT))
            << k;
        EXPECT_TRUE(same(back.document.OPEN_SEC[k].PT, back.document.OPEN_SEC[k].NPOINT,
                         m.document.OPEN_SEC[k].PT, m.document.OPEN_SEC[k].NPOINT))
            << k;
    }
    ASSERT_EQ(back.document.NBAR, 2);
    for (std::size_t i = 1; i <= 2; ++i) {
        EXPECT_EQ(back.document.BAR[i].X, m.document.BAR[i].X);
        EXPECT_EQ(back.document.BAR[i].Y, m.document.BAR[i].Y);
        EXPECT_EQ(back.document.BAR[i].DB, m.document.BAR[i].DB);
    }
}
