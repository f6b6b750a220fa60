#pragma once
// The one in-memory description of the cross-section, in parts by lifetime: the document the
// engineer saves, its mesh, the results of the analyses, the program's settings and the view.
// Tables are 1-based with slot 0 unused (point lists are 0-based with one spare slot), each with
// its own count; clearing sets a count to 0 and keeps the storage.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/design_code.h"

namespace qav {

struct TPOS {
    double X = 0;
    double Y = 0;
};

struct TBAR {
    double X = 0;
    double Y = 0;
    double DB = 0;
    int32_t RS = 0;  // DXF reader scratch: first line of the circle entity
    int32_t RE = 0;  // DXF reader scratch: last line of the circle entity
};

struct TPOLYSHAPE {
    std::vector<TPOS> PT;  // corners 0..NPOINT-1, spare slot NPOINT
    int32_t NPOINT = 0;
    double CX = 0;
    double CY = 0;
    double GAREA = 0;
};

struct TMAT {
    double FCU = 0;
    double EC = 0;
    double EPS_0 = 0;
    double FC = 0;
    std::string NAME;
    double EPS_CU = 0;
    double FY1 = 0;
    double FY = 0;
    double ES = 0;
    double RF = 0;
    // Concrete grades of a code with its own tables: the exponent of the parabola (2: the
    // program's own parabola) and the ACI 318 stress block's depth factor (0: no block). Derived
    // from the code and the strength, never written to the section file.
    double N_EXP = 2;
    double BETA1 = 0;
};

struct TFORCE {
    double P = 0;   // kN, negative is compression
    double MX = 0;  // kNm, paired with fibre X
    double MY = 0;  // kNm, paired with fibre Y
    std::string COMB_NAME;
    double LOAD_FRACTION = 0;
};

// The check's minimums: fixed magnitudes of P, MX and MY, or the code's minimum eccentricity.
enum class CheckMinimum : int32_t { Magnitudes, CodeEccentricity };

// A combination checked with its load raised to a minimum: the load checked (kN, kNm, P negative
// in compression), and the combination's load and listed fraction it was found for, so that a
// record never outlives the combination it describes.
struct TRAISED_LOAD {
    int32_t NUM = 0;
    double P = 0, MX = 0, MY = 0;
    double GIVEN_P = 0, GIVEN_MX = 0, GIVEN_MY = 0, LOAD_FRACTION = 0;
};

// Whether the combination has been checked: a check never leaves a load fraction of 0, which is
// what an import or a section file gives.
inline bool isChecked(const TFORCE& f) {
    return f.LOAD_FRACTION != 0;
}

// Fibre kinds (TFIB.TY, TSHELL.MATTY).
enum FibreKind : int32_t {
    FIB_CORE_CONCRETE = 1,
    FIB_STEEL = 2,
    FIB_REBAR = 3,
    FIB_COVER_CONCRETE = 4,
};

struct TFIB {
    double X = 0;
    double Y = 0;
    double STRESS = 0;
    double EPS = 0;
    double AREA = 0;
    double DB = 0;
    int32_t TY = 0;
    int32_t MAT = 0;
    std::array<TPOS, 4> POS{};
    int32_t SHAPE = 0;  // 3 triangle, 2 rebar
    double E = 0;
    double FC = 0;
    double EPS_0 = 0;
    double FY1 = 0;
    // Concrete: the grade's ultimate strain, parabola exponent and stress block factor (see
    // TMAT).
    double EPS_CU = 0;
    double N_EXP = 2;
    double BETA1 = 0;
};

struct TCFIB {
    double X = 0;
    double Y = 0;
    double EPS = 0;
};

struct TSHELL {
    double AX = 0, AY = 0;
    double BX = 0, BY = 0;
    double CX = 0, CY = 0;
    double OX = 0, OY = 0;
    bool USED = false;
    double AREA = 0;
    int32_t MAT = 0;
    int32_t MATTY = 0;
};

struct TNODE {
    double PX = 0;
    double PY = 0;
    bool USED = false;
};

// What a mesh was made from: fingerprints of the geometry (outline, cover, steel polygons,
// openings, bars), of the material records its fibres take (the selected grades) and of the
// mesh options that apply to it, and the serial number of the mesh run. serial 0: no mesh made
// by the mesh command.
struct MeshStamp {
    uint64_t geometry = 0;
    uint64_t materials = 0;
    uint64_t options = 0;  // the mesh options that changed this section's mesh
    uint64_t serial = 0;
    bool operator==(const MeshStamp&) const = default;
};

// Sizes of the main window's fixed grade lists (item index + 1 = material number).
constexpr int CONC_GRADE_ITEMS = 17;
constexpr int COVER_GRADE_ITEMS = 17;
constexpr int STEEL_GRADE_ITEMS = 5;
constexpr int SEL_BAR_CAPACITY = 10000;

// The equilibrium solver of the analyses: "fast" (the default) or "reference", the original
// fixed-matrix iteration kept bit for bit.
enum class SolverKind { Fast, Reference };

// What the engineer builds and saves: the outline, cover line, steel polygons, openings, bars,
// grades and load combinations, with the geometry derived from them (centroids, zone).
struct SectionDocument {
    std::vector<TPOS> CONC_PT;
    int32_t NCONC_PT = 0;
    std::vector<TPOS> COVER_PT;
    int32_t NCOVER_PT = 0;
    std::vector<TPOLYSHAPE> STEEL_SEC;
    int32_t NSTEEL_SEC = 0;
    std::vector<TPOLYSHAPE> OPEN_SEC;
    int32_t NOPEN_SEC = 0;
    std::vector<TBAR> BAR;
    int32_t NBAR = 0;

    std::vector<TMAT> CONC_MAT;
    int32_t NCONCMAT = 0;
    std::vector<TMAT> COVER_MAT;
    int32_t NCOVERMAT = 0;
    std::vector<TMAT> STEEL_MAT;
    int32_t NSTEELMAT = 0;
    // The selected grades: item indices of the grade lists (item index + 1 = material number).
    int32_t USE_CONC = 0;
    int32_t USE_REBAR = 0;
    int32_t USE_STEEL = 0;
    int32_t USE_COVER = 0;

    // Load combinations; LOAD_FRACTION is written by the member check.
    std::vector<TFORCE> FORCE;
    int32_t NFORCE = 0;

    // The code whose grade tables the document holds, with its design choices. A document of
    // the program's own tables (CODE HK-COP-2013 or BS-8110) is labelled by the general
    // setting's DESIGN_CODE; use sectionCode() for the code that applies.
    CodeId CODE = CodeId::HkCop2013;
    double ALPHA_CC = 1.0;  // EN 1992-1-1 3.1.6(1): 1.0 recommended, 0.85 allowed
    Ties TIES = Ties::Tied;

    // The mesh size as typed and saved with the section.
    std::string MESH_SIZE_TEXT = "100";
    // The lines of the section file last opened or saved.
    std::vector<std::string> SECTION_TEXT;

    // Derived from the geometry: centroids and the bounding zone.
    double CONC_CX = 0, CONC_CY = 0;
    double STEEL_CX = 0, STEEL_CY = 0;
    double ZONE_XMAX = 0, ZONE_XMIN = 0, ZONE_YMAX = 0, ZONE_YMIN = 0;
};

// The mesh of the document: nodes, triangles, fibres, control points, what they were made from,
// and the areas summed over the fibres.
struct SectionMesh {
    std::vector<TFIB> FIB;
    int32_t NFIB = 0;
    std::vector<TCFIB> CFIB;
    int32_t NCFIB = 0;
    std::vector<TSHELL> SHELL;
    int32_t NSHELL = 0;
    std::vector<TNODE> GRID_NODE;
    int32_t NGRID_NODE = 0;
    std::vector<TNODE> CLINE_NODE;
    int32_t NCLINE_NODE = 0;
    std::vector<TNODE> KEY_NODE;
    int32_t NKEY_NODE = 0;
    std::vector<TNODE> SLINE_NODE;
    int32_t NSLINE_NODE = 0;
    std::vector<TNODE> MESH_NODE;
    int32_t NMESH_NODE = 0;
    // What the fibres were made from (see model/section_state.h), and the last serial given.
    MeshStamp MESH_STAMP;
    uint64_t MESH_SERIAL = 0;
    double MESH_SIZE = 0;  // the size the last mesh used
    double SEC_AREA = 0, STEEL_AREA = 0, REBAR_AREA = 0, STEEL_RATIO = 0, REBAR_RATIO = 0;
    double FIB_ZONE_WIDTH = 0, FIB_ZONE_HEIGHT = 0;
};

// Analysis results (kN, kNm), kept until the next run or until the mesh they came from goes.
struct SectionResults {
    int32_t STRAIN_LIMIT_MODE = 1;
    double PMAX = 0, PMIN = 0;
    std::vector<double> PM_P, PM_MX, PM_MY, PM_M;
    std::vector<double> MM_MX, MM_MY;
    std::vector<double> MPHI_M, MPHI_PHI;
    // Beside the tables above, index for index: 0 where a solve that gave the point did not
    // converge, 1 where all did. A table without them (or shorter) counts as converged.
    std::vector<uint8_t> PM_CONVERGED, MM_CONVERGED, MPHI_CONVERGED;
    // The PMM surface, rows 0..5 the P-M curves of 0, 30 .. 150 degrees
    // (7 rows of 2 NPM + 3 points, points 1 .. 2 NPM + 2 used).
    std::vector<std::vector<double>> PMM_P, PMM_MX, PMM_MY;
    std::vector<std::vector<uint8_t>> PMM_CONVERGED;  // per curve, as the flags above
    // Under a code with a strength reduction factor (ACI 318-19) the tables above hold the
    // design strength (phi Pn, phi Mn, capped at phi Pn,max); beside them, index for index, the
    // nominal strength and phi. Empty under the other codes.
    std::vector<double> PM_NOM_P, PM_NOM_MX, PM_NOM_MY, PM_NOM_M, PM_PHI;
    std::vector<double> MM_NOM_MX, MM_NOM_MY, MM_PHI;
    std::vector<std::vector<double>> PMM_NOM_P, PMM_NOM_MX, PMM_NOM_MY, PMM_PHI;
    int32_t CRITICAL_COMB = 0;
    // The combinations whose listed load fraction is that of their load raised to the check's
    // minimums (the raised load governs), in order of NUM; and which minimum raised them.
    std::vector<TRAISED_LOAD> RAISED_LOADS;
    CheckMinimum RAISED_BY = CheckMinimum::Magnitudes;
    // The mesh the stored results above (and the load fractions) were computed from.
    MeshStamp RESULTS_STAMP;
};

// Program settings the analyses read (kept with the program's settings, never in the section
// file).
struct ProgramSettings {
    int32_t NPM = 30;
    int32_t NMM = 24;
    int32_t DESIGN_CODE = 0;  // 0 "HK-COP-2013", 1 "BS-8110"
    // The equilibrium solver and the number of worker threads (0: every core).
    SolverKind SOLVER = SolverKind::Fast;
    int32_t THREADS = 0;
    // Mesh a section without a concrete outline with grid nodes inside its steel polygons as
    // well, so that each plate has fibres through its thickness (off by default; a section with
    // an outline ignores it).
    bool STEEL_GRID = false;
    double MESH_SIZE_INPUT = 100;  // the mesh size last read from its box
    // The ultimate limit of every analysis, and whether the member check raises moments to the
    // code's minimum eccentricity instead of the fixed minimum magnitudes.
    StrainLimit STRAIN_LIMIT = StrainLimit::Control;
    bool CODE_MIN_ECC = false;
    // How triangles' stresses are summed (Integration).
    Integration INTEGRATION = Integration::Auto;
};

// How the section is shown: the view mapping, the display switches, the window's outer size
// (W and H of the view mappings and the fit) and the bar selection.
struct ViewState {
    double VIEW_CX = 0, VIEW_CY = 0;
    double VIEW_DX = 0, VIEW_DY = 0, VIEW_SCALE = 0;
    int32_t W = 1197;
    int32_t H = 836;
    // Display switches 1..6 of the section view (slot 0 unused).
    std::array<bool, 7> SHOW_FLAG{false, true, true, true, true, true, true};
    std::vector<int32_t> SEL_BAR;  // fixed 10000 + 1 slots
    int32_t NSEL_BAR = 0;
};

struct SectionModel {
    SectionModel();

    SectionDocument document;
    SectionMesh mesh;
    SectionResults results;
    ProgramSettings settings;
    ViewState view;
};

// The code the section is analysed and labelled under: the document's own when it holds a code's
// tables, else the general setting's.
inline CodeId sectionCode(const SectionModel& m) {
    if (codeHasOwnTables(m.document.CODE)) return m.document.CODE;
    return m.settings.DESIGN_CODE == 1 ? CodeId::Bs8110 : CodeId::HkCop2013;
}

// Whether point i of a result table converged: its flag, true where the flags do not reach i.
inline bool pointConverged(const std::vector<uint8_t>& flags, std::size_t i) {
    return i >= flags.size() || flags[i] != 0;
}
// Whether any point up to and including last did not converge.
inline bool anyUnconverged(const std::vector<uint8_t>& flags, std::size_t last) {
    for (std::size_t i = 0; i <= last && i < flags.size(); ++i)
        if (!flags[i]) return true;
    return false;
}

// Resizes a table to n slots: entries below n are kept, new slots are zero-filled.
template <class T>
void resizeTable(std::vector<T>& table, int32_t n) {
    table.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
}

// Empties the section and its mesh; materials, loads, centroids and zone stay. VIEW_SCALE = 1.
void CLEAR_MODEL(SectionModel& m);
// Empties the mesh result (fibres, control points, triangles, selection); node counts stay.
void CLEAR_MESH(SectionModel& m);
// "Delete Steel Section": removes the steel polygons and the whole mesh.
void DELETE_STEEL_SECTION(SectionModel& m);
void ADD_SINGLE_REBAR(SectionModel& m, double PX, double PY, double DB);
// Removes the first bar exactly at (PX, PY); the last bar takes its slot. Returns false (and
// changes nothing) when no bar is there.
bool DELETE_SINGLE_BAR(SectionModel& m, double PX, double PY);
// Removes bars that stand exactly where an earlier bar stands; the first one wins.
void REMOVE_REP_REBAR(SectionModel& m);
// Appends a bar number to the selection unless it is there already or the list is full.
// Returns false when the list is full (10000 bars).
bool SELECT_BAR(SectionModel& m, int32_t bar);
bool IS_BAR_SELECTED(const SectionModel& m, int32_t bar);

// The origin of fibre coordinates: the outline centroid, else the steel centroid, else (0, 0).
TPOS sectionCentre(const SectionModel& m);

}  // namespace qav
