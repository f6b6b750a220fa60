#pragma once
// The section geometry as an XTRACT input file: the outline as a confined-concrete shape, each
// steel polygon as a bilinear-steel shape, each opening as a "Delete" shape and the bars as
// rebar points. The material blocks carry the section's own grades at the values its analysis
// uses, the concrete shape its own cover; the builder settings are fixed texts.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// The file's lines (tabs and trailing blanks exact), from the geometry, the selected grades, the
// cover line and MESH_SIZE_INPUT.
std::vector<std::string> EXPORT_XTARCT_LINES(const SectionModel& m);
// Writes them with CR LF after every line. Throws FileError.
void EXPORT_XTARCT_FILE(const SectionModel& m, const std::string& path);

}  // namespace qav
