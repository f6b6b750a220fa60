#include "interchange/xtract_export.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/tables.h"
#include "model/text_file.h"

namespace qav {

namespace {

using Lines = std::vector<std::string>;

void add(Lines& out, std::initializer_list<const char*> lines) {
    for (const char* l : lines) out.emplace_back(l);
}

// Corners 0..n-1 and corner 0 again.
void cornerLines(Lines& out, const std::vector<TPOS>& pt, int n) {
    n = std::clamp(n, 0, static_cast<int>(pt.size()));
    for (int i = 0; i < n; ++i) {
        const TPOS& p = pt[static_cast<std::size_t>(i)];
        out.push_back(Format("\t\t\t%0.3F, %0.3F", {p.X, p.Y}));
    }
    if (n > 0) out.push_back(Format("\t\t\t%0.3F, %0.3F", {pt[0].X, pt[0].Y}));
}

void shape(Lines& out, const SectionModel& m, const char* material, const std::vector<TPOS>& pt,
           int n, const char* core, double cover) {
    out.emplace_back("");
    out.emplace_back("\tBegin_Shape ");
    out.emplace_back(material);
    out.push_back(Format("\t\tMESH = %0.2F ", {m.settings.MESH_SIZE_INPUT}));
    if (core) {
        out.push_back(Format("\t\tCOVER = %0.2F ", {cover}));
        out.emplace_back(core);
    }
    out.emplace_back("\t\tBegin_Line ");
    cornerLines(out, pt, n);
    add(out, {"\t\tEnd_Line", "\tEnd_Shape"});
}

}  // namespace

std::vector<std::string> EXPORT_XTARCT_LINES(const SectionModel& m) {
    Lines out;
    add(out, {"", ""});
    add(out, {"Begin_Global", "\tVER = 3.00", "\tUNITS = N-mm", "End_Global", ""});
    for (int k = 1; k <= 3; ++k) {
        out.emplace_back("Begin_Material");
        out.push_back(Format("\tNAME = Confined%D", {k}));
        add(out, {"\tTYPE = Confined Concrete", "\tFc = 23.30", "\tey = .0014", "\tecu = .0035",
                  "\tFl = 23.30", "\tEc = 22.85E+3", "\tcompStrength = 23.30", "End_Material", ""});
    }
    for (int k = 1; k <= 3; ++k) {
        out.emplace_back("Begin_Material");
        out.push_back(Format("\tNAME = BiLinear%D", {k}));
        add(out, {"\tTYPE = Bilinear Steel", "\tFy = 200.0", "\tH = .001", "\tesu = .01",
                  "\tEs = 199.9E+3", "End_Material", ""});
    }
    add(out, {"Begin_Material", "\tNAME = rebar", "\tTYPE = Bilinear Steel", "\tFy = 200.0",
              "\tH = .001", "\tesu = .01", "\tEs = 199.9E+3", "End_Material", ""});
    add(out,
        {"Begin_Section", "\tBegin_Builder", "\t\tNAME = section2", "\t\tBoundary_Bottom = -20000",
         "\t\tBoundary_Left = -20000", "\t\tBoundary_Right = 20000", "\t\tBoundary_Top = 20000",
         "\t\tMin_Triangle_Area = 64.52", "\t\tMax_Number_of_Fibers = 4000",
         "\t\tWindow_Left = 304.8", "\t\tWindow_Bottom = 304.8", "\t\tWindow_Height = 1219",
         "\tEnd_Builder", "", "\tBegin_UserComments", "\t\tUser Comments", "\tEnd_UserComments"});
    if (m.document.NCONC_PT > 0)
        shape(out, m, "\t\tMATERIAL = Confined1 ", m.document.CONC_PT, m.document.NCONC_PT,
              "\t\tMATERIAL_CORE = Confined1", 35);
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
        shape(out, m, "\t\tMATERIAL = BiLinear1 ", s.PT, s.NPOINT, "\t\tMATERIAL_CORE = BiLinear1",
              0);
    }
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC)) {
        shape(out, m, "\t\tMATERIAL = Delete", s.PT, s.NPOINT, nullptr, 0);
    }
    if (m.document.NBAR != 0) {
        add(out, {"", "\tBegin_Rebar"});
        for (const TBAR& b : rows(m.document.BAR, m.document.NBAR)) {
            out.push_back(
                Format("\t\t%0.3F, %0.3F, %0.3F, 0, rebar", {b.X, b.Y, b.DB * b.DB * 3.14 / 4}));
        }
        out.emplace_back("\tEnd_Rebar");
    }
    add(out, {"", "End_Section"});
    return out;
}

void EXPORT_XTARCT_FILE(const SectionModel& m, const std::string& path) {
    writeTextLines(path, EXPORT_XTARCT_LINES(m));
}

}  // namespace qav
