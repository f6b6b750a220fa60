#include "interchange/xtract_export.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/materials.h"
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

// The cover: how far the cover line lies inside the outline (the least distance of its corners
// from the outline's sides); 0 without a cover line.
double coverDepth(const SectionDocument& d) {
    const int n = std::clamp(d.NCONC_PT, 0, static_cast<int>(d.CONC_PT.size()));
    const int k = std::clamp(d.NCOVER_PT, 0, static_cast<int>(d.COVER_PT.size()));
    if (n < 2 || k < 1) return 0;
    double least = std::numeric_limits<double>::infinity();
    for (int c = 0; c < k; ++c) {
        const TPOS& p = d.COVER_PT[static_cast<std::size_t>(c)];
        for (int i = 0; i < n; ++i) {
            const TPOS& a = d.CONC_PT[static_cast<std::size_t>(i)];
            const TPOS& b = d.CONC_PT[static_cast<std::size_t>((i + 1) % n)];
            const double dx = b.X - a.X, dy = b.Y - a.Y, len2 = dx * dx + dy * dy;
            const double t =
                len2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2, 0.0, 1.0) : 0;
            least = std::min(least, std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy));
        }
    }
    return std::isfinite(least) ? least : 0;
}

// A material block: its name, its type and its values (a missing grade writes zeros, never a
// made-up material).
void material(Lines& out, const std::string& name, const char* type,
              std::initializer_list<std::string> values) {
    out.emplace_back("Begin_Material");
    out.push_back("\tNAME = " + name);
    out.push_back(std::string("\tTYPE = ") + type);
    for (const std::string& v : values) out.push_back("\t" + v);
    add(out, {"End_Material", ""});
}

// A grade's values as the analysis takes them.
void concreteMaterial(Lines& out, const std::string& name, const TMAT* g) {
    const TMAT t = g ? *g : TMAT{};
    material(out, name, "Confined Concrete",
             {Format("Fc = %0.2F", {t.FC}), Format("ey = %0.6F", {t.EPS_0}),
              Format("ecu = %0.6F", {t.EPS_CU}), Format("Fl = %0.2F", {t.FC}),
              Format("Ec = %0.2FE+3", {t.EC / 1000}), Format("compStrength = %0.2F", {t.FC})});
}

void steelMaterial(Lines& out, const std::string& name, const TMAT* g) {
    const TMAT t = g ? *g : TMAT{};
    material(out, name, "Bilinear Steel",
             {Format("Fy = %0.1F", {t.FY1}), "H = .001", "esu = .01",
              Format("Es = %0.1FE+3", {t.ES / 1000})});
}

}  // namespace

// The materials are the section's own grades at the values its analysis uses: Confined1 its
// concrete, Confined2 its cover concrete (the outer part of the outline's shape), BiLinear1 the
// steel of its steel shapes, rebar its bars' grade; Confined3, BiLinear2 and BiLinear3 repeat
// the first of their kind.
std::vector<std::string> EXPORT_XTARCT_LINES(const SectionModel& m) {
    const SectionDocument& d = m.document;
    const TMAT* concrete = selectedGrade(d.CONC_MAT, d.NCONCMAT, d.USE_CONC);
    const TMAT* cover = selectedGrade(d.COVER_MAT, d.NCOVERMAT, d.USE_COVER);
    const TMAT* steel = selectedGrade(d.STEEL_MAT, d.NSTEELMAT, d.USE_STEEL);
    const TMAT* rebar = selectedGrade(d.STEEL_MAT, d.NSTEELMAT, d.USE_REBAR);
    const bool hasCover = d.NCOVER_PT > 0;
    Lines out;
    add(out, {"", ""});
    add(out, {"Begin_Global", "\tVER = 3.00", "\tUNITS = N-mm", "End_Global", ""});
    concreteMaterial(out, "Confined1", concrete);
    concreteMaterial(out, "Confined2", hasCover ? cover : concrete);
    concreteMaterial(out, "Confined3", concrete);
    for (int k = 1; k <= 3; ++k) steelMaterial(out, Format("BiLinear%D", {k}), steel);
    steelMaterial(out, "rebar", rebar);
    add(out,
        {"Begin_Section", "\tBegin_Builder", "\t\tNAME = section2", "\t\tBoundary_Bottom = -20000",
         "\t\tBoundary_Left = -20000", "\t\tBoundary_Right = 20000", "\t\tBoundary_Top = 20000",
         "\t\tMin_Triangle_Area = 64.52", "\t\tMax_Number_of_Fibers = 4000",
         "\t\tWindow_Left = 304.8", "\t\tWindow_Bottom = 304.8", "\t\tWindow_Height = 1219",
         "\tEnd_Builder", "", "\tBegin_UserComments", "\t\tUser Comments", "\tEnd_UserComments"});
    if (m.document.NCONC_PT > 0)
        shape(out, m, "\t\tMATERIAL = Confined2 ", m.document.CONC_PT, m.document.NCONC_PT,
              "\t\tMATERIAL_CORE = Confined1", coverDepth(d));
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
