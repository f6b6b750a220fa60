#include "validation_table.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/section_solver.h"
#include "analysis/section_state.h"
#include "builders/box_texts.h"
#include "builders/composite_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "mesh/mesh_command.h"
#include "model/number_text.h"
#include "reference_section.h"

namespace qav::validation {

namespace {

const double PM_ANGLES[] = {0, 45, 90, 135};
constexpr int NPM_STEPS = 6;
constexpr int NMM_STEPS = 8;

std::string f3(double v) {
    return Format("%0.3F", {v});
}

std::string marks(const Row& r) {
    return std::string(r.offLimit ? " *" : "") + (r.notConverged ? " †" : "");
}

// What the tables under the design codes compare.
std::string codeIntroduction() {
    std::ostringstream o;
    o << "# Under the design codes\n\n"
         "The rectangle, the circle and the encased I-section again, each converted to "
         "EN 1992-1-1 and ACI 318-19 with the grades named, and under HK-COP 2013 with its own "
         "grades; every analysis runs with the code's ultimate limit (\"Strain limit\": \"Code\")."
         " The program's values are the P-M curve points of two angles (6 steps per branch, the "
         "points from the tension end up to the one before pure compression), the moment at zero "
         "axial force, the pure compression and pure tension ends, and the load fractions of ten "
         "combinations spread over the surface as above; the ends are the load fractions of the "
         "loads named, times the load. Under ACI 318-19 they are design strengths: phi times the "
         "nominal strength, the axial force held to phi Pn,max (tied).\n\n"
         "The reference integrates the codes' laws exactly over the section's polygons, each law "
         "from the grade's characteristic strength by the code's own formulas: the "
         "parabola-rectangle of EN 1992-1-1 (its exponent, epsC2 and epsCu2 from the grade) in "
         "closed form over the bands of the law, the ACI 318 block of 0.85 f'c down to beta1 c "
         "over the polygons clipped at its edge, and under HK-COP 2013 the grade's parabola with "
         "its plateau. A bar carries its steel stress less the concrete stress at its strain (the "
         "concrete it displaces is not counted twice), under HK-COP 2013 too, as the program "
         "takes it at the code's limit; under ACI 318-19 that concrete is the block over the "
         "part, beyond the block's edge, of a square of the bar's area with two sides along the "
         "neutral axis, so that a bar leaves the block gradually as the edge passes it (taking "
         "the bar as a point instead moves these rows by up to 0.08 %). The program integrates "
         "each law exactly over its triangles under the code's limits, so these rows do not "
         "depend on the mesh. The limit "
         "puts the most compressed concrete corner at the ultimate strain of its grade (0.003 "
         "under ACI 318-19), and under EN 1992-1-1, for a wholly compressed section, the strain "
         "epsC2 at the depth (1 - epsC2/epsCu2) h from the most compressed face where that governs;"
         " no steel limit. For each ray the reference finds its own state by bisection on the "
         "neutral axis, its depth for the ratio of axial force to moment and its direction for "
         "the moment's direction. Under ACI 318-19 phi follows from the net tensile strain of the "
         "bar farthest in tension (0.65 up to its yield strain, 0.90 from 0.003 beyond, straight "
         "between), P0 = 0.85 f'c (Ag - Ast) + fy Ast, and a P-M point's reference is the design "
         "point of the reference's state along the program's nominal ray, compared along its own "
         "direction (moments over the section's size against forces); a load fraction is phi "
         "times the nominal one, or the cap over the load where the ray meets the cap first. A "
         "difference marked * belongs to a ray on which the program's state has no concrete "
         "compressed: the codes set no limit there, and the program (and with it the reference, "
         "among such states) puts the most stretched concrete corner at -0.005; such a state is "
         "tension-controlled (phi 0.90), its steel strain being bounded by nothing. A difference "
         "marked † belongs to a ray on which the program's solve did not meet its tolerance.\n\n";
    return o.str();
}

}  // namespace

double Row::differencePercent() const {
    if (loadFraction) return (ours - reference) / reference * 100;
    return (1 / reference - 1) * 100;
}

int sectionCount() {
    return 5;
}

bool listedWithSteelGrid(int index) {
    return index == 3;
}

double worstDifference(const SectionTable& t) {
    double w = 0;
    for (const Row& r : t.rows) w = std::max(w, std::fabs(r.differencePercent()));
    return w;
}

SectionModel buildSection(int index, std::string& name, std::string& description,
                          std::string& meshSize, MeshChoice mesh) {
    SectionModel m;
    switch (index) {
        case 0: {
            BoxTexts t = typicalDialogTexts();
            typicalShapeChange(t, 0);
            buildTypicalSection(m, 0, t);
            name = "Rectangle with bars";
            description = "typical section 0, 800 x 1000, cover 35, bars of 25";
            meshSize = "25";
            break;
        }
        case 1: {
            BoxTexts t = typicalDialogTexts();
            typicalShapeChange(t, 2);
            buildTypicalSection(m, 2, t);
            name = "Circle with bars";
            description = "typical section 2, diameter 800 (a 24-gon), cover 35, 12 bars of 25";
            meshSize = "25";
            break;
        }
        case 2: {
            CompositeParams p;
            INPUT_DATA(p, 5, compositeDialogTexts());
            buildCompositeSection(m, p);
            name = "Concrete-encased steel I-section";
            description =
                "composite type 5, 1000 x 800 with an I 400 x 600 (flanges 25, web 20) and bars of "
                "25";
            meshSize = "25";
            break;
        }
        case 3: {
            BoxTexts t = steelDialogTexts();
            steelShapeChange(t, 3);
            buildSteelSection(m, 3, t);
            name = "Steel I-section";
            description = "steel shape 3, 700 deep, flanges 500 x 50, web 50";
            meshSize = "10";
            break;
        }
        default: {
            BoxTexts t = typicalDialogTexts();
            typicalShapeChange(t, 6);
            buildTypicalSection(m, 6, t);
            name = "L-shaped wall";
            description =
                "typical section 6 (angle), legs 1000, thickness 200, cover 35, bars of 25";
            meshSize = "10";
            break;
        }
    }
    m.document.MESH_SIZE_TEXT = meshSize;
    m.settings.STEEL_GRID = mesh == MeshChoice::Listed && listedWithSteelGrid(index);
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    m.settings.NPM = NPM_STEPS;
    m.settings.NMM = NMM_STEPS;
    return m;
}

std::vector<TFORCE> spreadCombinations(const SectionModel& m) {
    const double PMAX = axialCapacity(m).PMAX;
    const double lever = std::max(m.document.ZONE_XMAX - m.document.ZONE_XMIN,
                                  m.document.ZONE_YMAX - m.document.ZONE_YMIN) /
                         1000;  // m
    std::vector<TFORCE> loads(10);
    for (int i = 1; i <= 10; ++i) {
        TFORCE& f = loads[static_cast<std::size_t>(i - 1)];
        const double theta = 36.0 * (i - 1) * std::acos(-1.0) / 180;
        const double M = 0.04 * PMAX * lever * (1 + (i - 1) % 3);
        f.P = std::round(-PMAX * (0.65 - 0.08 * (i - 1)));
        f.MX = std::round(M * std::sin(theta));
        f.MY = std::round(M * std::cos(theta));
        f.COMB_NAME = Format("C%D", {i});
    }
    return loads;
}

SectionTable programValues(int index, MeshChoice mesh) {
    SectionTable t;
    SectionModel m = buildSection(index, t.name, t.description, t.meshSize, mesh);
    NullMessages msgs;
    const int n = m.settings.NPM;
    for (const double angle : PM_ANGLES) {
        RUN_PM_CURVE_ANALYSIS(m, angle, msgs);
        // Points 1 and 2n + 2, the tension ends, come from the fixed-axial-force search at PMIN:
        // they keep the moments of its last trial load without its last load fraction, so they
        // are not states of the surface and are left out.
        for (int k = 2; k <= 2 * n + 1; ++k) {
            Row r;
            r.item = Format("P-M %0.0F deg, point %D", {angle, k});
            r.P = m.results.PM_P[static_cast<std::size_t>(k)];
            r.MX = m.results.PM_MX[static_cast<std::size_t>(k)];
            r.MY = m.results.PM_MY[static_cast<std::size_t>(k)];
            t.rows.push_back(r);
        }
    }
    // Two axial forces, a tenth and four tenths of the axial capacity, in whole hundreds.
    CALC_NMAX(m);
    const double axials[] = {100 * std::round(m.results.PMAX / 1000),
                             100 * std::round(4 * m.results.PMAX / 1000)};
    for (const double axial : axials) {
        RUN_MM_CURVE_ANALYSIS(m, axial, msgs);
        // The listing keeps moments only; the point's axial force comes from finding the point
        // again as the run does.
        SectionSolver solver(m, msgs);
        RunStats stats;
        for (int i = 0; i < m.settings.NMM; ++i) {
            const double theta = static_cast<double>(i * 360) / m.settings.NMM;
            const MmPoint p =
                mmCurvePoint(solver, m.results.STRAIN_LIMIT_MODE, axial, theta, stats);
            const double MX = m.results.MM_MX[static_cast<std::size_t>(i)],
                         MY = m.results.MM_MY[static_cast<std::size_t>(i)];
            if (std::fabs(p.MX - MX) > 1e-9 * (std::fabs(MX) + 1) ||
                std::fabs(p.MY - MY) > 1e-9 * (std::fabs(MY) + 1))
                throw std::runtime_error("the Myy-Mxx point could not be found again");
            Row r;
            r.item = Format("Myy-Mxx %0.0F kN, %0.0F deg", {axial, theta});
            r.P = p.P;
            r.MX = MX;
            r.MY = MY;
            t.rows.push_back(r);
        }
    }
    const std::vector<TFORCE> loads = spreadCombinations(m);
    m.document.FORCE.assign(1, TFORCE{});
    m.document.FORCE.insert(m.document.FORCE.end(), loads.begin(), loads.end());
    m.document.NFORCE = 10;
    NullProgress progress;
    CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
    for (int i = 1; i <= 10; ++i) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
        Row r;
        r.item = "Combination " + f.COMB_NAME;
        r.loadFraction = true;
        r.P = -f.P;
        r.MX = f.MX;
        r.MY = f.MY;
        r.ours = f.LOAD_FRACTION;
        t.rows.push_back(r);
    }
    return t;
}

void addReference(SectionTable& t, const SectionModel& m) {
    const ReferenceSection ref(m);
    NullMessages msgs;
    const double tol = 1e-6 * EPS_LIMIT;
    for (Row& r : t.rows) {
        // The program's state along the row's ray tells the branch of the normalisation it lies
        // on; the reference solves on the same branch, starting from that plane.
        const SectionState s = SECTION_STATE(m, r.P, r.MX, r.MY, 0, 0, 0, msgs);
        double emax = -1e300, emin = 1e300;
        for (const ControlPointState& cp : s.controlPoints) {
            emax = std::max(emax, cp.strain);
            emin = std::min(emin, cp.strain);
        }
        Normalisation n;
        if (m.results.STRAIN_LIMIT_MODE == 2 && emax > 0 && emin < 0) {
            n.kind = Normalisation::Kind::Smaller;
            r.offLimit = std::fabs(std::min(emax, -emin) - EPS_LIMIT) > tol;
        } else if (emax > 0) {
            n = {Normalisation::Kind::Largest, emax};
            r.offLimit = std::fabs(emax - EPS_LIMIT) > tol;
        } else {
            n = {Normalisation::Kind::Tensile, emin};
            r.offLimit = std::fabs(emin + EPS_LIMIT) > tol;
        }
        r.notConverged = !s.solve.converged;
        r.reference =
            ref.capacity(r.P, r.MX, r.MY, n, {s.plane.a1, s.plane.a2, s.plane.a3}, r.angleError);
    }
}

std::string markdown(const std::vector<SectionTable>& tables) {
    double worst = 0;
    std::string where;
    for (const SectionTable& t : tables)
        for (const Row& r : t.rows)
            if (std::fabs(r.differencePercent()) >= std::fabs(worst)) {
                worst = r.differencePercent();
                where = t.name + ", " + r.item;
            }
    std::ostringstream o;
    o << "# Validation\n\n";
    o << "**Worst difference: " << Format("%0.3F", {worst}) << " % (" << where << ").**\n\n";
    o << "This page is written by `build/tools/validation/qavsec-validation docs/validation.md` "
         "and a test "
         "(`ValidationTable.ProgramStillGivesTheListedValues`) fails when the program's results "
         "move away "
         "from it by more than the printed rounding and "
      << Format("%0.1F", {DRIFT_TOLERANCE * 100})
      << " % of a row's size. Regenerate it when a change of results is intended, and review the "
         "diff.\n\n";
    o << "Each section is built with the program's own builders and meshed with the mesh size "
         "given. "
         "The program's values are its P-M curve points (four moment angles, "
      << NPM_STEPS << " steps per branch), its Myy-Mxx points (two axial forces, " << NMM_STEPS
      << " angles) and the load fractions of ten combinations from the member check without "
         "minimum "
         "magnitudes. The two tension ends of each P-M curve (points 1 and "
      << 2 * NPM_STEPS + 2
      << ") are left out: they come from the fixed-axial-force search at the tension capacity, "
         "which stores "
         "the moments of its last trial load without its last load fraction, so they are not "
         "states of the "
         "surface (they lie about 1 % inside it).\n\n";
    o << "The reference integrates the same two material laws exactly over the section's polygons "
         "(core and "
         "cover concrete, structural steel; bars as points of area 3.14 d² / 4, as the program's "
         "bars), "
         "clipping each polygon into the bands of its law and integrating each band with a rule "
         "exact for "
         "the cubic integrands: its integration error is that of floating point, far below 0.05 %. "
         "For each "
         "row it searches, with a method of its own (a simplex search over the direction of the "
         "strain "
         "plane, started from the program's plane), the plane whose forces point along the row's "
         "ray from "
         "the origin, scaled as the program scales: the largest control-point strain at 0.005, or, "
         "with no "
         "control point compressed, the smallest at -0.005; for a section without concrete the "
         "smaller of "
         "the two extreme magnitudes at 0.005. The reference point is that state's force, so the "
         "difference "
         "along the ray is ours / reference - 1; for a combination the load fractions are "
         "compared. "
         "A difference marked * belongs to a state of the program that is not at the limit strain "
         "(with "
         "every control point on one side, a section without concrete keeps the ratio of an "
         "earlier "
         "iteration); the reference is then scaled to the program's extreme strain. A difference "
         "marked † "
         "belongs to a ray on which the program's solver stopped at its 1000 iterations without "
         "meeting "
         "its tolerance. "
         "The program runs with its default solver. What the differences show is the program's "
         "discretisation (one point per mesh triangle) "
         "and its "
         "solver's tolerance.\n\n";
    bool codesIntroduced = false;
    for (const SectionTable& t : tables) {
        if (!t.code.empty() && !codesIntroduced) {
            codesIntroduced = true;
            o << codeIntroduction();
        }
        double search = 0;
        for (const Row& r : t.rows) search = std::max(search, r.angleError);
        o << "## " << t.name << "\n\n"
          << t.description << "; mesh size " << t.meshSize << " mm. Worst difference "
          << Format("%0.3F", {worstDifference(t)}) << " %; the reference's search left "
          << (search < 1e-9 ? std::string("less than 1E-9 rad")
                            : "at most " + Format("%0.1E", {search}) + " rad")
          << " between force and load.";
        if (t.defaultMeshWorst)
            o << " The section is meshed with grid nodes inside its steel (`--steel-grid`, off by "
                 "default), so that each plate has fibres through its thickness; with the "
                 "default mesh, which has nodes on the plates' sides only (one triangle from face "
                 "to face), its worst difference is "
              << Format("%0.3F", {*t.defaultMeshWorst}) << " %.";
        o << "\n\n";
        o << "| Item | P ours [kN] | Mxx ours [kNm] | Myy ours [kNm] | P ref [kN] | Mxx ref [kNm] "
             "| Myy ref [kNm] "
             "| Difference [%] |\n";
        o << "|---|---:|---:|---:|---:|---:|---:|---:|\n";
        for (const Row& r : t.rows) {
            if (r.loadFraction) continue;
            const double k = r.reference;
            const std::array<double, 3> ref =
                r.refPoint.value_or(std::array<double, 3>{k * r.P, k * r.MX, k * r.MY});
            o << "| " << r.item << " | " << f3(r.P) << " | " << f3(r.MX) << " | " << f3(r.MY)
              << " | " << f3(ref[0]) << " | " << f3(ref[1]) << " | " << f3(ref[2]) << " | "
              << Format("%0.3F", {r.differencePercent()}) << marks(r) << " |\n";
        }
        o << "\n| Item | P [kN] | Mxx [kNm] | Myy [kNm] | Load fraction ours | Load fraction ref | "
             "Difference [%] |\n";
        o << "|---|---:|---:|---:|---:|---:|---:|\n";
        for (const Row& r : t.rows) {
            if (!r.loadFraction) continue;
            o << "| " << r.item << " | " << f3(r.P) << " | " << f3(r.MX) << " | " << f3(r.MY)
              << " | " << Format("%0.5F", {r.ours}) << " | " << Format("%0.5F", {r.reference})
              << " | " << Format("%0.3F", {r.differencePercent()}) << marks(r) << " |\n";
        }
        o << "\n";
    }
    return o.str();
}

std::vector<std::vector<ListedRow>> listedValues(const std::string& page) {
    std::vector<std::vector<ListedRow>> out;
    std::istringstream in(page);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            out.emplace_back();
            continue;
        }
        if (out.empty() || line.rfind("| ", 0) != 0 || line.rfind("| Item", 0) == 0) continue;
        std::vector<std::string> cells;
        std::stringstream ss(line.substr(1));
        for (std::string cell; std::getline(ss, cell, '|');) cells.push_back(cell);
        if (cells.size() < 7) continue;
        ListedRow r;
        r.item = cells[0].substr(1, cells[0].size() - 2);
        const bool combination = r.item.rfind("Combination", 0) == 0;
        for (std::size_t c = 1; c <= (combination ? 4u : 3u); ++c)
            r.values.push_back(ToFloat(cells[c]));
        out.back().push_back(r);
    }
    return out;
}

}  // namespace qav::validation
