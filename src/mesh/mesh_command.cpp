#include "mesh/mesh_command.h"

#include <cmath>
#include <memory>
#include <new>
#include <optional>

#include "mesh/fibre_area_check.h"
#include "mesh/inside_test.h"
#include "mesh/mesh_fibres.h"
#include "mesh/mesh_nodes.h"
#include "mesh/polygon_checks.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_properties.h"
#include "model/section_state.h"
#include "model/tables.h"
#include "model/value_checks.h"

namespace qav {

namespace {
template <class F>
void forEachPolygon(const SectionModel& m, F&& f) {
    f(m.document.CONC_PT, m.document.NCONC_PT);
    f(m.document.COVER_PT, m.document.NCOVER_PT);
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) f(s.PT, s.NPOINT);
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC)) f(s.PT, s.NPOINT);
}

void requireFinitePoints(const SectionModel& m) {
    bool finite = true;
    forEachPolygon(m, [&](const std::vector<TPOS>& pt, int n) {
        for (const TPOS& p : corners(pt, n))
            finite = finite && std::isfinite(p.X) && std::isfinite(p.Y);
    });
    for (const TBAR& bar : rows(m.document.BAR, m.document.NBAR)) {
        finite = finite && std::isfinite(bar.X) && std::isfinite(bar.Y) && std::isfinite(bar.DB);
    }
    if (!finite)
        throw InputError(
            "The section has a corner or a bar whose position is not a number; it cannot be "
            "meshed.");
}

// Below some micrometres the mesh's coincidence tests merge nodes and the fibres no longer
// cover the section; two orders of magnitude above that, a section is still far smaller than
// any member the program is meant for.
void requireSmallestSize(const SectionModel& m) {
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    auto add = [&](double x, double y, double r) {
        lo[0] = std::fmin(lo[0], x - r);
        lo[1] = std::fmin(lo[1], y - r);
        hi[0] = std::fmax(hi[0], x + r);
        hi[1] = std::fmax(hi[1], y + r);
    };
    forEachPolygon(m, [&](const std::vector<TPOS>& pt, int n) {
        for (const TPOS& p : corners(pt, n)) add(p.X, p.Y, 0);
    });
    for (const TBAR& bar : rows(m.document.BAR, m.document.NBAR))
        add(bar.X, bar.Y, std::fabs(bar.DB) / 2);
    if (!(hi[0] >= lo[0])) return;  // nothing to mesh: the polygon checks say so
    const double size = std::fmax(hi[0] - lo[0], hi[1] - lo[1]);
    if (size < MIN_SECTION_SIZE_MM)
        throw InputError(
            Format("The section is %s mm across: a section under %s mm across cannot be meshed.",
                   {Format("%g", {size}), Format("%g", {MIN_SECTION_SIZE_MM})}));
}

void requireGrade(const std::vector<TMAT>& table, int count, int index, const char* list,
                  const char* kind) {
    const int grade = index + 1;
    if (grade >= 1 && grade <= count && grade < static_cast<int>(table.size())) return;
    throw InputError(Format("\"%s\" selects grade %D, but the section has %D %s grades.",
                            {list, grade, count, kind}));
}

// A concrete grade the section selects, once it exists, within the strength the laws serve.
void requireConcreteGrade(const std::vector<TMAT>& table, int index, const char* kind) {
    const auto grade = static_cast<std::size_t>(index + 1);
    requireConcreteStrength(table[grade], Format("%s grade %D", {kind, index + 1}));
}

// The grades of the fibre kinds this section can give must exist.
void requireGrades(const SectionModel& m) {
    const bool outline = m.document.NCONC_PT > 0, cover = m.document.NCOVER_PT > 0;
    if (outline || cover)
        requireGrade(m.document.CONC_MAT, m.document.NCONCMAT, m.document.USE_CONC,
                     "Concrete Grade", "concrete");
    if (outline && cover)
        requireGrade(m.document.COVER_MAT, m.document.NCOVERMAT, m.document.USE_COVER,
                     "Concrete Cover Grade", "cover concrete");
    if (outline || cover)
        requireConcreteGrade(m.document.CONC_MAT, m.document.USE_CONC, "Concrete");
    if (outline && cover)
        requireConcreteGrade(m.document.COVER_MAT, m.document.USE_COVER, "Cover concrete");
    if (m.document.NSTEEL_SEC > 0)
        requireGrade(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_STEEL,
                     "Steel Grade", "steel");
    if (m.document.NBAR > 0)
        requireGrade(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_REBAR,
                     "Rebar Grade", "steel");
}

struct Box {
    bool any = false;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    void widen(const TPOS& p) {
        if (!any) xmin = xmax = p.X, ymin = ymax = p.Y;
        any = true;
        xmin = std::min(xmin, p.X);
        xmax = std::max(xmax, p.X);
        ymin = std::min(ymin, p.Y);
        ymax = std::max(ymax, p.Y);
    }
};

double sideBound(const std::vector<TPOS>& pt, int npoint, double h) {
    const auto corner = corners(pt, npoint);
    double sum = 0;
    for (std::size_t k = 0; k < corner.size(); ++k) {
        const TPOS& a = corner[k];
        const TPOS& b = corner[(k + 1) % corner.size()];
        sum += std::hypot(b.X - a.X, b.Y - a.Y) / h + 1;
    }
    return sum;
}
}  // namespace

double meshSizeOf(const std::string& text) {
    double h = 0;
    if (!TryToFloat(text, h))
        throw ConversionError("Mesh Size: '" + text + "' is not a valid floating point value");
    if (!std::isfinite(h) || h <= 0)
        throw InputError("The mesh size must be a number greater than 0 mm, not '" + Trim(text) +
                         "'.");
    return h;
}

double meshNodeBound(const SectionModel& m, double h) {
    // The zone the mesh command will use: the outline's, else the steel's, else the current.
    Box zone;
    if (m.document.NCONC_PT > 0) {
        for (const TPOS& p : corners(m.document.CONC_PT, m.document.NCONC_PT)) zone.widen(p);
    } else {
        for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
            for (const TPOS& p : corners(s.PT, s.NPOINT)) zone.widen(p);
    }
    if (!zone.any)
        zone = {true, m.document.ZONE_XMIN, m.document.ZONE_XMAX, m.document.ZONE_YMIN,
                m.document.ZONE_YMAX};
    double bound = ((zone.xmax - zone.xmin) / h + 3) * ((zone.ymax - zone.ymin) / h + 3);
    forEachPolygon(m, [&](const std::vector<TPOS>& pt, int n) {
        bound += sideBound(pt, n, h) + static_cast<double>(corners(pt, n).size());
    });
    return std::isnan(bound) ? INFINITY : bound;
}

MeshSummary summarizeMesh(const SectionModel& m) {
    MeshSummary s;
    s.NGRID_NODE = m.mesh.NGRID_NODE;
    s.NCLINE_NODE = m.mesh.NCLINE_NODE;
    s.NSLINE_NODE = m.mesh.NSLINE_NODE;
    s.NKEY_NODE = m.mesh.NKEY_NODE;
    s.NMESH_NODE = m.mesh.NMESH_NODE;
    s.NSHELL = m.mesh.NSHELL;
    for (const TSHELL& t : rows(m.mesh.SHELL, m.mesh.NSHELL)) s.usedTriangles += t.USED ? 1 : 0;
    for (const TFIB& f : rows(m.mesh.FIB, m.mesh.NFIB)) {
        if (f.TY < 1 || f.TY > 4) continue;
        s.fibres[static_cast<std::size_t>(f.TY)].count += 1;
        s.fibres[static_cast<std::size_t>(f.TY)].area += f.AREA;
    }
    s.NFIB = m.mesh.NFIB;
    s.NCFIB = m.mesh.NCFIB;
    return s;
}

namespace {
// The mesh tables moved aside while a new mesh is made, with a copy of everything else the run
// may change, so that a cancelled run can put the model back as it was.
class MeshUndo {
public:
    explicit MeshUndo(SectionModel& m) : m_(m) {
        for (std::size_t k = 0; k < nodeTables_.size(); ++k)
            nodeTables_[k] = std::move(nodeTable(k));
        shells_ = std::move(m.mesh.SHELL);
        fibres_ = std::move(m.mesh.FIB);
        controls_ = std::move(m.mesh.CFIB);
        rest_ = std::make_unique<SectionModel>(m);
    }
    void restore() {
        m_ = std::move(*rest_);
        for (std::size_t k = 0; k < nodeTables_.size(); ++k)
            nodeTable(k) = std::move(nodeTables_[k]);
        m_.mesh.SHELL = std::move(shells_);
        m_.mesh.FIB = std::move(fibres_);
        m_.mesh.CFIB = std::move(controls_);
    }

private:
    std::vector<TNODE>& nodeTable(std::size_t k) {
        std::vector<TNODE>* tables[] = {&m_.mesh.GRID_NODE, &m_.mesh.CLINE_NODE,
                                        &m_.mesh.SLINE_NODE, &m_.mesh.KEY_NODE, &m_.mesh.MESH_NODE};
        return *tables[k];
    }
    SectionModel& m_;
    std::array<std::vector<TNODE>, 5> nodeTables_;
    std::vector<TSHELL> shells_;
    std::vector<TFIB> fibres_;
    std::vector<TCFIB> controls_;
    std::unique_ptr<SectionModel> rest_;
};

// Where the run stands, for a progress that may be absent; throws RunCancelled when asked to.
void reach(Progress* progress, int percent) {
    if (progress == nullptr) return;
    if (progress->cancelled()) throw RunCancelled();
    progress->setPosition(percent);
}

// The shares of a run's time, measured on fine meshes: the nodes take about a tenth, the
// triangles most of the rest.
constexpr int NODES_DONE = 10, TRIANGLES_DONE = 90;

void meshSteps(SectionModel& m, Messages& messages, Progress* progress) {
    CALC_POLY_ZONE(m);
    GEN_MESH_GRID_NODE(m);
    if (m.document.NCONC_PT > 0)
        GEN_MESH_CONC_LINE_NODE(m);
    else
        m.mesh.NCLINE_NODE = 0;
    if (m.document.NSTEEL_SEC > 0)
        GEN_MESH_STEEL_LINE_NODE(m);
    else
        m.mesh.NSLINE_NODE = 0;
    GEN_MESH_KEY_NODE(m);
    reach(progress, NODES_DONE / 3);
    CHECK_MESH_POINT(m);
    reach(progress, 2 * NODES_DONE / 3);
    GEN_MEHS_MASS_NODE(m);
    reach(progress, NODES_DONE);
    std::optional<PartProgress> triangles;
    if (progress != nullptr) triangles.emplace(*progress, NODES_DONE, TRIANGLES_DONE);
    GEN_MESH_TRIANGLE(m, messages, triangles ? &*triangles : nullptr);
    CALC_TRI_AREA(m);
    CHECK_MESH_AREA(m);
    reach(progress, (TRIANGLES_DONE + 100) / 2);
    GEN_USER_DEFINE_SECTION(m);
    GEN_FIB_MAT(m);
}
}  // namespace

MeshSummary FIBER_SECTION_MESH(SectionModel& m, Messages& messages, Progress* progress) {
    const double h = meshSizeOf(m.document.MESH_SIZE_TEXT);
    requireFinitePoints(m);
    requireSmallestSize(m);
    requireMeshablePolygons(m);
    requireGrades(m);
    const double bound = meshNodeBound(m, h);
    if (!(bound <= MAX_MESH_NODES))
        throw InputError(
            Format("Mesh size %s mm is too small for this section: it would place up to %s nodes, "
                   "more than the %s a mesh may have. Use a larger mesh size.",
                   {Trim(m.document.MESH_SIZE_TEXT),
                    std::isfinite(bound) ? Format("%0.0F", {bound}) : "countless",
                    Format("%0.0F", {MAX_MESH_NODES})}));

    std::optional<MeshUndo> undo;
    if (progress != nullptr) {
        reach(progress, 0);
        undo.emplace(m);
    }
    CLEAR_MESH(m);
    m.settings.MESH_SIZE_INPUT = h;
    m.mesh.MESH_SIZE = h;
    try {
        meshSteps(m, messages, progress);
    } catch (const RunCancelled&) {
        if (undo) undo->restore();
        throw;
    } catch (const std::bad_alloc&) {
        undo.reset();
        CLEAR_MESH(m);
        CALC_AREA_RATIO(m);
        throw InputError("Not enough memory to mesh this section with mesh size " +
                         Trim(m.document.MESH_SIZE_TEXT) + " mm. Use a larger mesh size.");
    }
    CALC_AREA_RATIO(m);
    stampMesh(m);
    MeshSummary summary = summarizeMesh(m);
    summary.areaWarning = fibreAreaWarning(m, summary).value_or("");
    const std::string bars = barPlacementWarning(m);
    if (!bars.empty()) messages.message(bars);
    if (progress != nullptr) progress->setPosition(100);  // done: too late to cancel
    return summary;
}

}  // namespace qav
