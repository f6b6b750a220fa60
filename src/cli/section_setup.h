#pragma once
// What every command that reads a section does before its own work: read the file, apply the
// shared options, take in the load combinations, mesh with the file's grades and mesh size,
// and print the messages of the run on stderr.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/shared_options.h"
#include "mesh/mesh_command.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav::cli {

// Reads a section file into a fresh model, as the Open command does.
SectionModel loadSection(const std::string& path);

// Each distinct message once, with its count when it came more than once.
void printMessages(const MessageLog& log, std::ostream& err);
void printLines(const std::vector<std::string>& lines, std::ostream& out);

// "Fiber Section Mesh" with the model's grades and mesh size, its messages on err.
MeshSummary meshSection(SectionModel& m, std::ostream& err);

// --mesh-size (named in its message when it is not a number) and --steel-grid.
void applyMeshOptions(SectionModel& m, const SharedOptions& o);

// Reads the section at path, applies --npm, --nmm and --mesh-size, reads the load file of
// --loads (before the mesh, so that a wrong file is refused at once), meshes and sets the strain
// limit mode from the section. The mesh summary goes to *summary when asked for. --ties on a
// section not under ACI 318-19 is refused (UsageError): nothing there would take it.
SectionModel prepareSection(const std::string& path, const SharedOptions& o, std::ostream& err,
                            MeshSummary* summary = nullptr);

}  // namespace qav::cli
