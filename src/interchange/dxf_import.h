#pragma once
// "Import From DXF File": the section geometry from a DXF drawing, by fixed layer names.
//   "POLY"       the last polyline is the concrete outline
//   "REBARLINE"  the last polyline is the concrete cover line
//   "STEEL"      every polyline is a steel polygon, in file order
//   "OPENING"    every polyline is an opening, in file order
//   any layer    every circle is a bar, DB = twice the radius
// A polyline is an "LWPOLYLINE" or an old-style "POLYLINE" whose corners are the VERTEX
// entities up to its SEQEND. Group codes are read as integers, with or without blanks.
#include <string>
#include <vector>

#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// Each reader replaces its part of the model from DATA, the file's lines. A value that is not
// a number throws ConversionError; a coordinate that is not an accepted length (model/limits.h)
// or a radius that is negative or whose diameter is not one throws InputError naming the line.
// What was read before either stays in the model.
void GET_CONC_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA);
void GET_REBAR_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA);
void GET_STEEL_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA);
void GET_OPEN_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA);
void GET_REBAR_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA);

// The whole import on lines already read: CLEAR_MODEL, the five readers, REMOVE_REP_REBAR and
// the derived geometry. The lines are kept in SECTION_TEXT.
// Refused with the line (InputError): a circle on a section layer or wider than the section's
// narrower side, a section layer spelt in another case, LINEs on a section layer, two polylines
// on POLY or REBARLINE, a block of shapes placed by INSERT, a drawing unit other than mm, cm, m,
// in or ft ($INSUNITS; none or unitless is mm). Blocks are never read where they are defined. A
// polyline's bulges become chords within 0.5 mm of the arc; an entity with its extrusion down
// the Z axis has its X negated. notes: one message naming the layers the bars came from.
void importDxfLines(SectionModel& m, std::vector<std::string> lines, Messages* notes = nullptr);

// Reads the file, then imports it. A file that cannot be read (FileError), a binary DXF or a
// file in which the import finds no section at all (InputError) leaves the model as it was.
void importDxfFile(SectionModel& m, const std::string& path, Messages* notes = nullptr);

}  // namespace qav
