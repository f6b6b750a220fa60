#pragma once
// The validation table: five sections, each with P-M points at four angles, Myy-Mxx points at
// two axial forces and the load fractions of ten combinations, the program's value beside an
// exact integration of the same laws. The generator writes it as docs/validation.md; the test
// recomputes the program's values and holds them to the table.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav::validation {

// One compared item: the program's point (P kN compression positive, MX, MY kNm) or load
// fraction, and the reference's.
struct Row {
    std::string item;
    double P = 0, MX = 0, MY = 0;  // the program's point, or the combination's load
    double ours = 0;               // load fraction (combinations only)
    double reference = 0;          // the reference's capacity factor along the same ray
    double angleError = 0;         // what the reference's search left (radians)
    bool loadFraction = false;
    // The program's state is not at the limit strain (a section without concrete whose
    // control points are all on one side keeps a ratio of an earlier iteration): the reference
    // then takes the program's extreme strain.
    bool offLimit = false;
    // The program's solve along the row's ray ended without meeting its tolerance.
    bool notConverged = false;
    // The ray the reference solves along when it is not the program's point itself (the
    // nominal point under a strength reduction, the load of an end), and the reference's point
    // when it is not on the program's ray (a design point).
    std::array<double, 3> ray{0, 0, 0};
    std::optional<std::array<double, 3>> refPoint;
    // (ours - reference) / reference in percent: along a ray, 1 / factor - 1.
    double differencePercent() const;
};

struct SectionTable {
    std::string name;
    std::string code;  // the design code of a table under a code's ultimate limit
    std::string description;
    std::string meshSize;
    std::vector<Row> rows;
    // For a section the page meshes with an option: the worst difference of the default mesh.
    std::optional<double> defaultMeshWorst;
};

// The mesh a section is built with: the one the page lists, or the program's default (the
// same unless the page meshes the section with an option).
enum class MeshChoice { Listed, Default };

// The five sections, built and meshed as the program builds and meshes them.
int sectionCount();
SectionModel buildSection(int index, std::string& name, std::string& description,
                          std::string& meshSize, MeshChoice mesh = MeshChoice::Listed);
// Whether the page meshes the section with grid nodes inside its steel (--steel-grid).
bool listedWithSteelGrid(int index);

// Ten combinations across the surface of a meshed section: axial forces from 65 % of the
// capacity in compression to a little tension, moments of growing size turning by 36 degrees.
std::vector<TFORCE> spreadCombinations(const SectionModel& m);

// The program's values of a section (no reference yet).
SectionTable programValues(int index, MeshChoice mesh = MeshChoice::Listed);
// The largest magnitude of a table's differences, in percent.
double worstDifference(const SectionTable& t);
// Adds the reference values to every row.
void addReference(SectionTable& t, const SectionModel& m);

// The markdown page.
std::string markdown(const std::vector<SectionTable>& tables);

// The program's values as the page lists them, section by section: item and its numbers.
struct ListedRow {
    std::string item;
    std::vector<double> values;  // P, Mxx, Myy (and the load fraction for combinations)
};
std::vector<std::vector<ListedRow>> listedValues(const std::string& page);

// How far a recomputed value may stand from the listed one: the printed rounding plus 0.1 % of
// the row's size, room for a solver that converges to a tighter tolerance than the one of the
// table's run.
constexpr double DRIFT_TOLERANCE = 1e-3;

}  // namespace qav::validation
