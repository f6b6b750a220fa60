#include <gtest/gtest.h>

#include "interchange/opensees_export.h"
#include "interchange/xtract_export.h"

using namespace qav;

namespace {

using Lines = std::vector<std::string>;

// Items 1 to 6 of the file: everything before the first shape.
constexpr std::size_t FIXED_LINES = 2 + 5 + 3 * 11 + 3 * 9 + 9 + 17;

TFIB fibre(int ty, double x, double y, double area) {
    TFIB f;
    f.TY = ty;
    f.X = x;
    f.Y = y;
    f.AREA = area;
    return f;
}

}  // namespace

TEST(XtractExport, EmptyModelIsTheFixedPartAndTheSectionEnd) {
    const Lines l = EXPORT_XTARCT_LINES(SectionModel{});
    ASSERT_EQ(l.size(), FIXED_LINES + 2);
    EXPECT_EQ(Lines(l.begin(), l.begin() + 8),
              (Lines{"", "", "Begin_Global", "\tVER = 3.00", "\tUNITS = N-mm", "End_Global", "",
                     "Begin_Material"}));
    EXPECT_EQ(l[8], "\tNAME = Confined1");
    EXPECT_EQ(l[7 + 2 * 11 + 1], "\tNAME = Confined3");
    EXPECT_EQ(l[7 + 3 * 11 + 1], "\tNAME = BiLinear1");
    EXPECT_EQ(l[7 + 3 * 11 + 3 * 9 + 1], "\tNAME = rebar");
    EXPECT_EQ(l[FIXED_LINES - 17], "Begin_Section");
    EXPECT_EQ(l[FIXED_LINES - 1], "\tEnd_UserComments");
    EXPECT_EQ(l[FIXED_LINES], "");
    EXPECT_EQ(l[FIXED_LINES + 1], "End_Section");
}

TEST(XtractExport, ShapesAndRebarLines) {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-300, -400}, {300, -400}, {300, 400}, {-300, 400}, {}};
    m.document.NSTEEL_SEC = 1;
    m.document.STEEL_SEC.resize(2);
    m.document.STEEL_SEC[1].NPOINT = 3;
    m.document.STEEL_SEC[1].PT = {{0, 0}, {10, 0}, {0, 10}, {}};
    m.document.NOPEN_SEC = 1;
    m.document.OPEN_SEC.resize(2);
    m.document.OPEN_SEC[1].NPOINT = 3;
    m.document.OPEN_SEC[1].PT = {{1, 1}, {2, 1}, {1, 2}, {}};
    ADD_SINGLE_REBAR(m, 100, -200, 25);
    m.settings.MESH_SIZE_INPUT = 100;
    const Lines l = EXPORT_XTARCT_LINES(m);
    const Lines expected = {"",
                            "\tBegin_Shape ",
                            "\t\tMATERIAL = Confined2 ",
                            "\t\tMESH = 100.00 ",
                            "\t\tCOVER = 0.00 ",
                            "\t\tMATERIAL_CORE = Confined1",
                            "\t\tBegin_Line ",
                            "\t\t\t-300.000, -400.000",
                            "\t\t\t300.000, -400.000",
                            "\t\t\t300.000, 400.000",
                            "\t\t\t-300.000, 400.000",
                            "\t\t\t-300.000, -400.000",
                            "\t\tEnd_Line",
                            "\tEnd_Shape",
                            "",
                            "\tBegin_Shape ",
                            "\t\tMATERIAL = BiLinear1 ",
                            "\t\tMESH = 100.00 ",
                            "\t\tCOVER = 0.00 ",
                            "\t\tMATERIAL_CORE = BiLinear1",
                            "\t\tBegin_Line ",
                            "\t\t\t0.000, 0.000",
                            "\t\t\t10.000, 0.000",
                            "\t\t\t0.000, 10.000",
                            "\t\t\t0.000, 0.000",
                            "\t\tEnd_Line",
                            "\tEnd_Shape",
                            "",
                            "\tBegin_Shape ",
                            "\t\tMATERIAL = Delete",
                            "\t\tMESH = 100.00 ",
                            "\t\tBegin_Line ",
                            "\t\t\t1.000, 1.000",
                            "\t\t\t2.000, 1.000",
                            "\t\t\t1.000, 2.000",
                            "\t\t\t1.000, 1.000",
                            "\t\tEnd_Line",
                            "\tEnd_Shape",
                            "",
                            "\tBegin_Rebar",
                            "\t\t100.000, -200.000, 490.625, 0, rebar",
                            "\tEnd_Rebar",
                            "",
                            "End_Section"};
    ASSERT_EQ(l.size(), FIXED_LINES + expected.size());
    EXPECT_EQ(Lines(l.begin() + FIXED_LINES, l.end()), expected);
}

TEST(OpenSeesExport, HeadingFibresAndVariables) {
    const Lines heading = {
        "##Section Gen by QAV-SEC",
        "# Units: N, mm, N/mm2. A fibre's two coordinates are the section's X and Y from its "
        "centre,",
        "# the section's local y and z: a 3-D element's Mz is the moment about the section's Y "
        "axis (My)",
        "# and its My the moment about X (Mx). A 2-D model reads only the first coordinate: it "
        "bends",
        "# about the section's Y axis (the P-M curve at 90 degrees), not about X (at 0 degrees).",
        "set Conc1 1",
        "set Conc2 2",
        "set Steel1 3",
        "set Rebar1 4",
        "section Fiber 1 {"};
    SectionModel m;
    EXPECT_EQ(GEN_OPENSEES_TCL(m), [&] {
        Lines l = heading;
        l.push_back("}");
        return l;
    }());

    m.mesh.NFIB = 7;
    m.mesh.FIB = {TFIB{},
                  fibre(0, 1, 2, 3),
                  fibre(FIB_REBAR, -250, 175.5, 490.874),
                  fibre(FIB_CORE_CONCRETE, 123.456, -0.5, 0),
                  fibre(FIB_COVER_CONCRETE, 1e-3, 1e5, 2),
                  fibre(9, 1, 1, 1),
                  fibre(FIB_STEEL, 0, 0, 1),
                  fibre(0, 0, 0, 1)};
    const Lines l = GEN_OPENSEES_TCL(m);
    ASSERT_EQ(l.size(), heading.size() + 8);
    EXPECT_EQ(Lines(l.begin(), l.begin() + 10), heading);
    EXPECT_EQ(l[10], "  fiber 1.00000E+000 2.00000E+000 3.00000E+000 ")
        << "no variable before the first known kind";
    EXPECT_EQ(l[11], "  fiber -2.50000E+002 1.75500E+002 4.90874E+002 $Rebar1");
    EXPECT_EQ(l[12], "  fiber 1.23456E+002 -5.00000E-001 0.00000E+000 $Conc1");
    EXPECT_EQ(l[13], "  fiber 1.00000E-003 1.00000E+005 2.00000E+000 $Conc2");
    EXPECT_EQ(l[14], "  fiber 1.00000E+000 1.00000E+000 1.00000E+000 $Conc2")
        << "an unknown kind keeps the last variable";
    EXPECT_EQ(l[15], "  fiber 0.00000E+000 0.00000E+000 1.00000E+000 $Steel1");
    EXPECT_EQ(l[16], "  fiber 0.00000E+000 0.00000E+000 1.00000E+000 $Steel1");
    EXPECT_EQ(l[17], "}");
}
