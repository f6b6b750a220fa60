#pragma once
// "Fiber Section Mesh": the whole mesh command as one operation, called by the application's
// button and menu entry and by `qavsec-cli mesh` alike.
#include <array>
#include <string>

#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// The most candidate nodes (grid, line and key nodes together) one mesh may place. A mesh needs
// about 600 bytes per node at its peak (node tables, triangulator, triangle and fibre tables),
// so this keeps one within about 1.2 GB.
constexpr double MAX_MESH_NODES = 2'000'000;

// The smallest section the mesh command accepts: the larger side of the box around its corners
// and bars, mm.
constexpr double MIN_SECTION_SIZE_MM = 0.01;

struct FibreKindTotal {
    int count = 0;
    double area = 0;  // mm2
};

// What a mesh run produced, for the caller to print or show.
struct MeshSummary {
    int NGRID_NODE = 0;
    int NCLINE_NODE = 0;
    int NSLINE_NODE = 0;
    int NKEY_NODE = 0;
    int NMESH_NODE = 0;
    int NSHELL = 0;                          // triangles
    int usedTriangles = 0;                   // triangles that became fibres
    std::array<FibreKindTotal, 5> fibres{};  // by kind: [1] core, [2] steel, [3] rebar, [4] cover
    int NFIB = 0;
    int NCFIB = 0;
    // Set by the mesh command when a kind's fibre area differs from its polygon area by more
    // than 1 % (fibreAreaWarning); the caller shows or prints it.
    std::string areaWarning;
};

// The mesh size in the "Mesh Size" text, mm. Throws ConversionError naming the box ("Mesh Size:
// 'abc' is not a valid floating point value") or InputError when it is not a finite number
// greater than 0.
double meshSizeOf(const std::string& text);

// An upper bound of the candidate nodes that mesh size h would place on the section as it
// stands (the zone as the mesh command will compute it). A double: it may exceed any integer.
double meshNodeBound(const SectionModel& m, double h);

MeshSummary summarizeMesh(const SectionModel& m);

// Meshes the section into fibres with the mesh size text (MESH_SIZE_TEXT) and the four grade
// selections (USE_CONC, USE_COVER, USE_STEEL, USE_REBAR) of the model:
//   checks first, changing nothing when one fails (InputError or ConversionError):
//     the mesh size is a number (exact conversion message), finite and greater than 0;
//     every corner and bar is a finite point;
//     the section is at least MIN_SECTION_SIZE_MM across;
//     every polygon has area and does not cross itself, and the cover line stays within the
//       outline (requireMeshablePolygons);
//     each selected grade exists in its material table, for the kinds this section can give
//       (a section file may carry fewer grades than the lists offer);
//     the candidate nodes stay within MAX_MESH_NODES;
//   then: CLEAR_MESH, MESH_SIZE_INPUT and MESH_SIZE, CALC_POLY_ZONE, the node families,
//   CHECK_MESH_POINT, GEN_MEHS_MASS_NODE, GEN_MESH_TRIANGLE, CALC_TRI_AREA, CHECK_MESH_AREA,
//   GEN_USER_DEFINE_SECTION, GEN_FIB_MAT and CALC_AREA_RATIO (the Section Properties texts);
//   last the fibre areas are compared with the polygon areas (MeshSummary::areaWarning).
// A family the section does not have (no outline: no concrete-line nodes; no steel: no
// steel-line nodes) is emptied, so no node of an earlier section can slip into this mesh.
// The triangulator's coincidence messages go to `messages`; the run goes on. After a mesh, one
// message about misplaced bars (barPlacementWarning) goes there too. Should memory run out,
// the mesh is left empty and InputError says so. The caller redraws the view.
// `progress` (may be null) hears 0..100 as the run goes; when it says cancelled, RunCancelled
// is thrown and the model is left exactly as it was before the call.
MeshSummary FIBER_SECTION_MESH(SectionModel& m, Messages& messages, Progress* progress = nullptr);

}  // namespace qav
