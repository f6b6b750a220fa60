#pragma once
// The block layout of a section file, checked whole before anything of the file is read.
#include <string>
#include <vector>

#include "model/errors.h"

namespace qav {

// A file whose layout is refused: "Line 14: "BAR,3,465,5,40,20": ...; the section file was not
// read." lineNo is 1-based; detail is the message after the line's place.
class SectionLayoutError : public InputError {
public:
    SectionLayoutError(int line, const std::string& message)
        : InputError("Line " + std::to_string(line) + ": " + message),
          lineNo(line),
          detail(message) {}
    int lineNo;
    std::string detail;
};

// A field of line `lineNo` (1-based) that is not a number: "Line 12: '5O0.00000' is not a valid
// floating point value". Opening a file names the file too.
class LineConversionError : public ConversionError {
public:
    LineConversionError(int line, const std::string& message)
        : ConversionError("Line " + std::to_string(line) + ": " + message),
          lineNo(line),
          conversion(message) {}
    int lineNo;
    std::string conversion;  // the conversion message alone
};

// Returns the lines with blanks and control characters trimmed from both ends, once the layout
// is whole:
// - every record stands inside a block, "<NAME> START" ... "<NAME> END", of a name the file
//   has; a block ends before the next starts and before the file ends; only the steel and the
//   opening polygons come more than once;
// - every record is one its block holds, in capitals, with its kind's number of fields
//   (separated by commas);
// - a table block starts with its count, which is followed by exactly that many records (a
//   polygon's corners and its closing slot: count + 1), numbered in order from 1 (from 0 for
//   the corners); the count is 0 or more;
// - the GEN and DESIGN records come at most once each, and the DESIGN block names its CODE.
// Blank lines are allowed anywhere. Throws SectionLayoutError, or a ConversionError "Line 5:
// 'x1' is not a valid integer value" for a count or record number that is no integer.
std::vector<std::string> checkedSectionLines(const std::vector<std::string>& DATA);

}  // namespace qav
