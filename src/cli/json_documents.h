#pragma once
// The --json documents of qavsec-cli: the numbers of each command's listing with named fields,
// as numbers at full precision, with the run's status. A number that is not finite is written
// as null (JSON has no NaN or infinity).
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>

#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/section_solver.h"
#include "mesh/mesh_command.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav::cli {

// Fields stay in the order they are written, so the documents read top-down like the listings.
using Json = nlohmann::ordered_json;

// Writes a document on one output: its fields after "command" and "file", two-space indented,
// a name that is not valid UTF-8 written with replacement characters.
void printJson(std::ostream& out, const std::string& command, const std::string& file,
               const Json& doc);

// {"solves", "unconverged", "iterations", "messages": [{"text", "count"}]}
Json runStatusJson(const RunStats& s, const MessageLog& log);

// info: grades and mesh size, outline, cover line, bars, steel polygons, openings.
Json sectionJson(const SectionModel& m);

// The ultimate limit the model's results are computed at: "control" or "code".
Json strainLimitJson(const SectionModel& m);
// mesh: the node, triangle and fibre counts and the section properties.
Json meshJson(const MeshSummary& s, const SectionModel& m);
// pm: the points (P, M, converged) of the curve at the angle.
Json pmJson(const SectionModel& m, double angle);
// mm: the points (Mx about X, My about Y, converged) of the curve at the axial force.
Json mmJson(const SectionModel& m, double axial);
// mphi: the points (M, curvature, converged) of the run.
Json mphiJson(const SectionModel& m, const MphiInput& in);
// pmm: the six curves of the surface, each a list of points (P, Mx, My, converged).
Json pmmJson(const SectionModel& m);
// check: every combination with its load fraction, and the critical one.
Json checkJson(const SectionModel& m, const CheckResult& r);

}  // namespace qav::cli
