#include "interchange/dxf_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "model/errors.h"
#include "model/section_properties.h"
#include "model/text_file.h"

using namespace qav;

namespace {

using Lines = std::vector<std::string>;

Lines cat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An LWPOLYLINE as a current CAD program writes it; `code` sets the padding of 10/20.
Lines lwpolyline(const std::string& layer, const std::vector<TPOS>& pts,
                 const std::string& x = " 10", const std::string& y = " 20") {
    Lines l = {
        "  0",        "LWPOLYLINE", "  5", "2F",  "330",          "1F",  "100",
        "AcDbEntity", "  8",        layer, "100", "AcDbPolyline", " 90", std::to_string(pts.size()),
        " 70",        "1"};
    for (const auto& p : pts) {
        l.insert(l.end(), {x, std::to_string(p.X), y, std::to_string(p.Y)});
    }
    return l;
}

// The corner pairs of a polyline written by lwpolyline(), without its 16 leading lines.
Lines cornersOf(const Lines& l) {
    return Lines(l.begin() + 16, l.end());
}

// An old-style POLYLINE with its placeholder point, VERTEX entities and SEQEND.
Lines polyline(const std::string& layer, const std::vector<TPOS>& pts,
               const std::string& zero = "  0") {
    Lines l = {zero,  "POLYLINE", "  8", layer, " 66", "1",   " 10",
               "0.0", " 20",      "0.0", " 30", "0.0", " 70", "1"};
    for (const auto& p : pts)
        l.insert(l.end(), {zero, "VERTEX", "  8", layer, " 10", std::to_string(p.X), " 20",
                           std::to_string(p.Y)});
    l.insert(l.end(), {zero, "SEQEND", "  8", layer});
    return l;
}

Lines circleR12(const std::string& layer, double x, double y, double r) {
    return {"  0", "CIRCLE",          "  8", layer,
            " 10", std::to_string(x), " 20", std::to_string(y),
            " 40", std::to_string(r)};
}

Lines circleR2000(const std::string& layer, double x, double y, double r) {
    return {"  0", "CIRCLE",          "  5", "4A",
            "100", "AcDbEntity",      "  8", layer,
            "100", "AcDbCircle",      " 10", std::to_string(x),
            " 20", std::to_string(y), " 30", "0.0",
            " 40", std::to_string(r)};
}

Lines entities(const Lines& body) {
    return cat({{"  0", "SECTION", "  2", "ENTITIES"}, body, {"  0", "ENDSEC", "  0", "EOF"}});
}

const std::vector<TPOS> SQUARE = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
const std::vector<TPOS> SMALL = {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}};
const std::vector<TPOS> TRIANGLE = {{0, 0}, {50, 0}, {0, 50}};

std::vector<TPOS> corners(const std::vector<TPOS>& pt, int n) {
    return {pt.begin(), pt.begin() + n};
}

bool samePoints(const std::vector<TPOS>& a, const std::vector<TPOS>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].X != b[i].X || a[i].Y != b[i].Y) return false;
    return true;
}

struct Expect {
    std::vector<TPOS> outline;
    std::vector<TPOS> cover;
    std::vector<std::vector<TPOS>> steel;
    std::vector<std::vector<TPOS>> openings;
    std::vector<TBAR> bars;  // X, Y, DB
};

void expectModel(const SectionModel& m, const Expect& e, const std::string& name) {
    EXPECT_TRUE(samePoints(corners(m.document.CONC_PT, m.document.NCONC_PT), e.outline))
        << name << ": outline of " << m.document.NCONC_PT;
    EXPECT_TRUE(samePoints(corners(m.document.COVER_PT, m.document.NCOVER_PT), e.cover))
        << name << ": cover line of " << m.document.NCOVER_PT;
    ASSERT_EQ(m.document.NSTEEL_SEC, static_cast<int>(e.steel.size())) << name;
    for (int k = 1; k <= m.document.NSTEEL_SEC; ++k) {
        const auto& s = m.document.STEEL_SEC[static_cast<std::size_t>(k)];
        EXPECT_TRUE(samePoints(corners(s.PT, s.NPOINT), e.steel[static_cast<std::size_t>(k - 1)]))
            << name << ": steel " << k << " of " << s.NPOINT;
        EXPECT_EQ(s.PT.size(), static_cast<std::size_t>(s.NPOINT) + 1) << name;
    }
    ASSERT_EQ(m.document.NOPEN_SEC, static_cast<int>(e.openings.size())) << name;
    for (int k = 1; k <= m.document.NOPEN_SEC; ++k) {
        const auto& s = m.document.OPEN_SEC[static_cast<std::size_t>(k)];
        EXPECT_TRUE(
            samePoints(corners(s.PT, s.NPOINT), e.openings[static_cast<std::size_t>(k - 1)]))
            << name << ": opening " << k << " of " << s.NPOINT;
    }
    ASSERT_EQ(m.document.NBAR, static_cast<int>(e.bars.size())) << name;
    for (int i = 1; i <= m.document.NBAR; ++i) {
        const TBAR& b = m.document.BAR[static_cast<std::size_t>(i)];
        const TBAR& x = e.bars[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(b.X, x.X) << name << ": bar " << i;
        EXPECT_EQ(b.Y, x.Y) << name << ": bar " << i;
        EXPECT_EQ(b.DB, x.DB) << name << ": bar " << i;
    }
}

}  // namespace

TEST(DxfImport, LayerAndEntityRules) {
    struct Case {
        std::string name;
        Lines file;
        Expect expected;
        const char* refused = nullptr;  // a part of the message when the drawing is refused
    };
    const std::vector<Case> cases = {
        {"two outline polylines are refused",
         entities(cat({lwpolyline("POLY", SMALL), lwpolyline("POLY", SQUARE)})),
         {},
         "Layer POLY holds 2 polylines (lines 6 and 38)"},
        {"outline codes with a leading blank",
         entities(lwpolyline("POLY", SQUARE)),
         {SQUARE, {}, {}, {}, {}}},
        {"outline codes without a leading blank",
         entities(lwpolyline("POLY", SQUARE, "10", "20")),
         {SQUARE, {}, {}, {}, {}}},
        {"the layer pair is found past reactor and extension pairs",
         entities(cat({{"  0", "LWPOLYLINE", "  5", "2F",           "102", "{ACAD_REACTORS",
                        "330", "1A",         "330", "1B",           "330", "1C",
                        "102", "}",          "330", "1F",           "100", "AcDbEntity",
                        "  8", "POLY",       "100", "AcDbPolyline", " 90", "4",
                        " 70", "1"},
                       cornersOf(lwpolyline("POLY", SQUARE))})),
         {SQUARE, {}, {}, {}, {}}},
        {"steel codes without a leading blank",
         entities(lwpolyline("STEEL", SQUARE, "10", "20")),
         {{}, {}, {SQUARE}, {}, {}}},
        {"every steel polygon and opening in file order",
         entities(cat({lwpolyline("STEEL", SQUARE), lwpolyline("OPENING", SMALL),
                       lwpolyline("STEEL", TRIANGLE), lwpolyline("OPENING", TRIANGLE)})),
         {{}, {}, {SQUARE, TRIANGLE}, {SMALL, TRIANGLE}, {}}},
        {"two cover lines are refused",
         entities(cat({lwpolyline("REBARLINE", SQUARE), lwpolyline("REBARLINE", SMALL)})),
         {},
         "Layer REBARLINE holds 2 polylines"},
        {"a section layer in another case is refused",
         entities(cat({lwpolyline("poly", SQUARE), lwpolyline("Steel", SMALL)})),
         {},
         "layer \"poly\" is not read"},
        {"lines on a section layer are refused",
         entities({"  0", "LINE", "  8", "POLY", " 10", "0", " 20", "0", " 11", "5", " 21", "0"}),
         {},
         "a LINE on layer POLY"},
        {"other layers are not read", entities(lwpolyline("DIM", SQUARE)), {{}, {}, {}, {}, {}}},
        {"a circle of radius 12.5 is a bar of 25",
         entities(circleR12("REBAR", -250, 175.5, 12.5)),
         {{}, {}, {}, {}, {{-250, 175.5, 25}}}},
        {"circles on any other layer are bars",
         entities(cat({circleR12("DIM", 1, 2, 5), circleR12("0", 3, 4, 6)})),
         {{}, {}, {}, {}, {{1, 2, 10}, {3, 4, 12}}}},
        {"a circle on a section layer is refused",
         entities(cat({lwpolyline("POLY", SQUARE), circleR12("POLY", 3, 4, 400)})),
         {},
         "a CIRCLE on layer POLY"},
        {"of two circles with one centre the first stays",
         entities(cat({circleR12("REBAR", 10, 20, 8), circleR12("REBAR", 10, 20, 16),
                       circleR12("REBAR", 10, 21, 16)})),
         {{}, {}, {}, {}, {{10, 20, 16}, {10, 21, 32}}}},
        {"a layer 0 circle with both markers is one bar",
         entities(circleR2000("0", 100, -50, 10)),
         {{}, {}, {}, {}, {{100, -50, 20}}}},
        {"a layer 0 circle without a subclass marker is a bar",
         entities(circleR12("0", 100, -50, 10)),
         {{}, {}, {}, {}, {{100, -50, 20}}}},
        {"a circle without a radius is no bar",
         entities(cat({{"  0", "CIRCLE", "  8", "REBAR", " 10", "5.0", " 20", "6.0"},
                       circleR12("REBAR", 1, 1, 1)})),
         {{}, {}, {}, {}, {{1, 1, 2}}}},
        {"an arc is not a bar",
         entities({"  0",        "ARC",     "100", "AcDbEntity", "  8", "0",   "100",
                   "AcDbCircle", " 10",     "0.0", " 20",        "0.0", " 40", "50.0",
                   "100",        "AcDbArc", " 50", "0.0",        " 51", "90.0"}),
         {{}, {}, {}, {}, {}}},
        {"a text reading CIRCLE is not a bar",
         entities({"  0", "TEXT", "  8", "0", " 10", "1.0", " 20", "2.0", " 40", "25.0", "  1",
                   "CIRCLE"}),
         {{}, {}, {}, {}, {}}},
        {"a coordinate value of 10 or 20 is a value, not a group code",
         entities(lwpolyline("POLY", {{10, 20}, {20, 10}, {20, 20}})),
         {{{10, 20}, {20, 10}, {20, 20}}, {}, {}, {}, {}}},
        {"POLYLINE corners are its vertices, not its placeholder point",
         entities(cat({polyline("POLY", SQUARE), polyline("REBARLINE", SMALL)})),
         {SQUARE, SMALL, {}, {}, {}}},
        {"POLYLINE with unpadded codes",
         entities(cat({polyline("POLY", SQUARE, "0"), polyline("STEEL", TRIANGLE, "0")})),
         {SQUARE, {}, {TRIANGLE}, {}, {}}},
        {"a steel POLYLINE does not take in the vertices after it",
         entities(cat({polyline("STEEL", SQUARE, "0"), polyline("STEEL", TRIANGLE, "0"),
                       polyline("OPENING", SMALL, "0"), polyline("OPENING", TRIANGLE, "0")})),
         {{}, {}, {SQUARE, TRIANGLE}, {SMALL, TRIANGLE}, {}}},
        {"more Y than X values are dropped",
         entities({"  0", "LWPOLYLINE", "  8", "STEEL", " 10", "1.0", " 20", "2.0", " 20", "3.0",
                   " 20", "4.0"}),
         {{}, {}, {{{1, 2}}}, {}, {}}},
        {"a vertex on layer POLY does not make a polyline on another layer the outline",
         entities({"  0", "POLYLINE", "  8", "DIM", " 66", "1", "  0", "VERTEX", "  8", "POLY",
                   " 10", "1.0", " 20", "2.0", "  0", "SEQEND"}),
         {{}, {}, {}, {}, {}}},
        {"no entities at all", Lines{"  0", "EOF"}, {{}, {}, {}, {}, {}}},
        {"an empty file", Lines{}, {{}, {}, {}, {}, {}}},
    };
    for (const auto& c : cases) {
        SectionModel m;
        if (c.refused) {
            try {
                importDxfLines(m, c.file);
                ADD_FAILURE() << c.name << ": not refused";
            } catch (const InputError& e) {
                EXPECT_NE(std::string(e.what()).find(c.refused), std::string::npos)
                    << c.name << ": " << e.what();
            }
            continue;
        }
        importDxfLines(m, c.file);
        expectModel(m, c.expected, c.name);
    }
}

TEST(DxfImport, ReadersReplaceOnlyTheirPart) {
    SectionModel m;
    const Lines file = entities(cat({lwpolyline("POLY", SQUARE), circleR2000("0", 5, 5, 2)}));
    ADD_SINGLE_REBAR(m, 1, 1, 1);
    GET_CONC_POLY_INFO_DXF(m, file);
    EXPECT_EQ(m.document.NCONC_PT, 4);
    EXPECT_EQ(m.document.CONC_PT.size(), 5u);
    EXPECT_DOUBLE_EQ(m.document.CONC_CX, 0);
    EXPECT_EQ(m.document.NBAR, 1);
    // Both markers start a bar; the command's duplicate removal leaves one.
    GET_REBAR_INFO_DXF(m, file);
    ASSERT_EQ(m.document.NBAR, 2);
    EXPECT_EQ(m.document.BAR[1].RS, 37);  // the "CIRCLE" line
    EXPECT_EQ(m.document.BAR[2].RS, 45);  // the "AcDbCircle" line
    EXPECT_EQ(m.document.BAR[1].RE, 54);  // the group code 0 of the next entity
    EXPECT_EQ(m.document.BAR[2].RE, 54);
}

TEST(DxfImport, CommandClearsAndRecomputes) {
    SectionModel m;
    ADD_SINGLE_REBAR(m, 1, 1, 1);
    importDxfLines(m,
                   entities(cat({lwpolyline("POLY", {{0, 0}, {400, 0}, {400, 600}, {0, 600}}),
                                 lwpolyline("STEEL", {{0, 0}, {0, 100}, {100, 100}, {100, 0}})})));
    EXPECT_EQ(m.document.NBAR, 0);
    EXPECT_DOUBLE_EQ(m.document.CONC_CX, 200);
    EXPECT_DOUBLE_EQ(m.document.CONC_CY, 300);
    EXPECT_DOUBLE_EQ(m.document.ZONE_XMAX, 400);
    EXPECT_DOUBLE_EQ(m.document.ZONE_YMAX, 600);
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].GAREA, 10000);  // drawn clockwise, weighed positive
    EXPECT_EQ(m.document.SECTION_TEXT.size(), 72u);
    EXPECT_EQ(m.document.NCONCMAT, 17);
}

TEST(DxfImport, ValueThatIsNotANumberStopsKeepingWhatWasRead) {
    SectionModel m;
    const Lines file =
        entities(cat({lwpolyline("POLY", SQUARE),
                      circleR12("REBAR", 1, 2, 3),
                      {"  0", "CIRCLE", "  8", "REBAR", " 10", "1,5", " 20", "0", " 40", "1"}}));
    try {
        importDxfLines(m, file);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'1,5' is not a valid floating point value");
    }
    EXPECT_EQ(m.document.NCONC_PT, 4);
    EXPECT_EQ(m.document.NBAR, 1);
}

TEST(DxfImport, FilesAsCadProgramsWriteThem) {
    SectionModel r12;
    importDxfFile(r12, std::string(QAVSEC_TEST_DATA) + "/r12_polyline_section.dxf");
    expectModel(
        r12,
        {{{-300, -400}, {300, -400}, {300, 400}, {-300, 400}},
         {{-260, -360}, {260, -360}, {260, 360}, {-260, 360}},
         {{{-100, -150}, {100, -150}, {100, 150}, {-100, 150}}, {{-50, 200}, {50, 200}, {0, 250}}},
         {{{-20, -20}, {20, -20}, {20, 20}, {-20, 20}}},
         {{-260, -360, 25}, {260, -360, 25}, {260, 360, 25}, {-260, 360, 25}}},
        "R12");
    SectionModel r2000;
    importDxfFile(r2000, std::string(QAVSEC_TEST_DATA) + "/r2000_lwpolyline_section.dxf");
    expectModel(r2000,
                {{{-400, -250}, {400, -250}, {400, 250}, {-400, 250}},
                 {{-350, -200}, {350, -200}, {350, 200}, {-350, 200}},
                 {{{-150, -100}, {150, -100}, {150, 100}, {-150, 100}}},
                 {{{-25, -25}, {25, -25}, {25, 25}, {-25, 25}}},
                 {{-350, -200, 20},
                  {0, -200, 20},
                  {350, -200, 20},
                  {-350, 200, 20},
                  {0, 200, 20},
                  {350, 200, 20}}},
                "R2000");
}

TEST(DxfImport, BinaryOrRandomBytesNeverCrash) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "qavsec_binary.dxf").string();
    {
        std::ofstream f(path, std::ios::binary);
        f << std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) << std::string("\0\x02SECTION", 10);
    }
    SectionModel m;
    ADD_SINGLE_REBAR(m, 1, 1, 1);
    EXPECT_THROW(importDxfFile(m, path), InputError);
    EXPECT_EQ(m.document.NBAR, 1) << "a refused file leaves the model as it was";
    std::remove(path.c_str());

    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(2000, '\0');
        // Mostly small texts, so that code-like and marker-like lines do occur.
        static const char* pieces[] = {"  0\n",      "CIRCLE\n", " 10\n",  "20\n",     " 40\n",
                                       "POLYLINE\n", "  8\n",    "POLY\n", "VERTEX\n", "12.5\n",
                                       "\r",         "\n",       "x",      "\xff"};
        bytes.clear();
        while (bytes.size() < 2000) {
            if (rng() % 3 == 0)
                bytes += static_cast<char>(rng() % 256);
            else
                bytes += pieces[rng() % 14];
        }
        SectionModel r;
        try {
            importDxfLines(r, splitLines(bytes));
        } catch (const ConversionError&) {
        } catch (const InputError&) {
        }
        EXPECT_LE(r.document.NBAR + 1, static_cast<int>(r.document.BAR.size()));
        EXPECT_LE(r.document.NCONC_PT + 1, static_cast<int>(r.document.CONC_PT.size()));
    }
}

TEST(DxfImport, AFileWithNoSectionSaysSoAndKeepsTheModel) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "qavsec_no_section.dxf").string();
    {
        std::ofstream f(path);
        f << "just some notes\nwith no drawing in them\n  0\nEOF\n";
    }
    SectionModel m;
    ADD_SINGLE_REBAR(m, 1, 1, 16);
    m.document.CONC_PT = {{0, 0}, {100, 0}, {100, 100}, {0, 0}};
    m.document.NCONC_PT = 3;
    try {
        importDxfFile(m, path);
        ADD_FAILURE() << "imported nothing without a word";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "No section found in " + path +
                      ": it has no outline, cover line, steel polygon, opening or bar on the "
                      "layers the import reads. The section on screen was kept.");
    }
    EXPECT_EQ(m.document.NBAR, 1);
    EXPECT_EQ(m.document.NCONC_PT, 3);
    std::remove(path.c_str());
}

// Drawings as another DXF library writes them (made by dxf_cases.py): each read at its size or
// refused with what to do.
TEST(DxfImport, DrawingsOfOtherProgramsAreReadOrRefusedByName) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qavsec_dxf_set_" + std::to_string(::getpid()));
    const std::string make = "/usr/bin/python3 " + std::string(QAVSEC_SOURCE_DIR) +
                             "/tests/interchange/dxf_cases.py " + dir.string();
    ASSERT_EQ(std::system(make.c_str()), 0) << make << " (python3-ezdxf comes with bootstrap)";
    struct Case {
        const char* file;
        double area;  // of the outline, or of the steel when there is no outline (mm2)
        double cx;    // the area's centroid X
        int bars;
        const char* refused;
    };
    const double pi = std::acos(-1.0);
    const Case cases[] = {
        {"codes_without_blanks", 200 * 20, 100, 0, nullptr},
        {"units_none", 800 * 1000, 400, 1, nullptr},
        {"units_cm", 800 * 1000, 400, 1, nullptr},
        {"units_in", 254 * 254, 127, 1, nullptr},
        {"units_m", 400 * 500, 200, 1, nullptr},
        {"units_miles", 0, 0, 0, "miles ($INSUNITS 3)"},
        {"bars_as_blocks", 0, 0, 0, "block \"BAR25\" is placed by an INSERT"},
        {"circle_on_poly", 0, 0, 0, "a CIRCLE on layer POLY"},
        {"big_circle", 0, 0, 0, "wider than the section's narrower side"},
        {"lower_case_layer", 0, 0, 0, "layer \"poly\" is not read"},
        {"outline_of_lines", 0, 0, 0, "a LINE on layer POLY"},
        {"two_outlines", 0, 0, 0, "Layer POLY holds 2 polylines"},
        {"extrusion_down", 200 * 200, -200, 1, nullptr},
        {"bulge_circle", pi * 250 * 250, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SectionModel m;
        const std::string path = (dir / (std::string(c.file) + ".dxf")).string();
        if (c.refused) {
            try {
                importDxfFile(m, path);
                ADD_FAILURE() << c.file << ": not refused";
            } catch (const InputError& e) {
                EXPECT_NE(std::string(e.what()).find(c.refused), std::string::npos)
                    << c.file << ": " << e.what();
            }
            continue;
        }
        importDxfFile(m, path);
        const SectionDocument& d = m.document;
        const PolygonMeasure p =
            d.NCONC_PT > 0 ? polygonMeasure(d.CONC_PT, d.NCONC_PT)
                           : polygonMeasure(d.STEEL_SEC.at(1).PT, d.STEEL_SEC.at(1).NPOINT);
        // Chords within 0.5 mm of the arc lose at most that strip along the perimeter.
        const double tolerance = std::string(c.file) == "bulge_circle" ? 0.5 * 2 * pi * 250 : 1e-6;
        EXPECT_LE(std::fabs(std::fabs(p.A) - c.area), tolerance) << c.file;
        EXPECT_LE(std::fabs(std::fabs(p.A) - c.area), 0.006 * c.area) << c.file;
        EXPECT_NEAR(p.CX, c.cx, 1e-6 * std::max(1.0, std::fabs(c.cx)) + 1e-6) << c.file;
        EXPECT_EQ(d.NBAR, c.bars) << c.file;
        if (std::string(c.file) == "extrusion_down")
            EXPECT_DOUBLE_EQ(d.BAR.at(1).X, -150) << "a bar drawn from below";
        if (std::string(c.file) == "bulge_circle") {
            // Every corner on the circle, every chord's middle within 0.5 mm of it.
            for (int i = 0; i < d.NCONC_PT; ++i) {
                const TPOS a = d.CONC_PT.at(static_cast<std::size_t>(i));
                const TPOS b = d.CONC_PT.at(static_cast<std::size_t>((i + 1) % d.NCONC_PT));
                EXPECT_NEAR(std::hypot(a.X, a.Y), 250, 1e-6);
                EXPECT_GE(std::hypot((a.X + b.X) / 2, (a.Y + b.Y) / 2), 249.5 - 1e-9);
            }
        }
    }
    std::filesystem::remove_all(dir);
}
