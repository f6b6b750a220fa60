#pragma once
// The section file (.sec): blocks of comma-separated records, written with CR LF.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// Splits a line at every comma into fields 1..n, each trimmed; field 0 is unused. The result
// always has at least 21 entries so fields 1..20 can be read without a check. Fields after
// the first maxFields are dropped.
std::vector<std::string> getstr(const std::string& a,
                                std::size_t maxFields = static_cast<std::size_t>(-1));

// Line numbers of the last line equal to RSTR and of the last equal to ESTR (0 when absent).
void GET_PARA(int& RS, int& RE, const std::vector<std::string>& DATA, const std::string& RSTR,
              const std::string& ESTR);

// Empties DATA and appends the section file lines of the model. A value the reader would
// refuse throws InputError instead of being written.
void SAVE_QAV_SEC_DATA(const SectionModel& m, std::vector<std::string>& DATA);

// Reads the model from DATA and recomputes the derived geometry.
// - A field that is not a number throws ConversionError at that line ("Line 12: '5O0.00000' is
//   not a valid floating point value"); what was read before stays, and the recomputation is
//   skipped.
// - A count that is negative or larger than the file has lines, or a grade index outside its
//   list, throws InputError before anything is changed (the whole file is refused).
// - A coordinate or a bar diameter that is not an accepted length (model/limits.h), a negative
//   diameter, or any other number that is not finite throws InputError naming the line.
// - A PT, BAR, material or FORCE line whose number lies outside its table as sized, or that
//   comes before its block's count line, is ignored.
void LOAD_QAV_SEC_DATA(SectionModel& m, const std::vector<std::string>& DATA);

// Open and Save: the file <-> SECTION_TEXT <-> model. Errors as above (a conversion message
// names the file too: "column.sec, line 12: ..."), or FileError. A file holding none of the
// section file's blocks (a text or binary file of another kind) throws FileRefusedError and
// changes nothing.
void openSectionFile(SectionModel& m, const std::string& path);
// The same for the lines of a section file read already; `path` names it in messages.
void openSectionLines(SectionModel& m, std::vector<std::string> lines, const std::string& path);
void saveSectionFile(SectionModel& m, const std::string& path);

}  // namespace qav
