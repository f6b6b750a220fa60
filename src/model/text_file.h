#pragma once
// Whole text files as lists of lines. Lines may end in CR LF, LF or CR when read; they are
// always written with CR LF, the last line too.
#include <string>
#include <vector>

namespace qav {

// Throws FileError "Cannot open file "<path>". <reason>" when the file cannot be read (a folder
// is named as one rather than read as an empty file).
std::vector<std::string> readTextLines(const std::string& path);
std::vector<std::string> splitLines(const std::string& text);
// Throws FileError when the file cannot be written; a failed write leaves no partial file in
// place of an existing one.
void writeTextLines(const std::string& path, const std::vector<std::string>& lines);
std::string joinLinesCrLf(const std::vector<std::string>& lines);
// Writes bytes as they are (atomically: a temporary file renamed over the target).
void writeTextFile(const std::string& path, const std::string& bytes);
std::string readTextFile(const std::string& path);

// Where a message's line stands: "Line 12", or "column.sec, line 12" when the file is named.
std::string linePlace(const std::string& file, int lineNo);

}  // namespace qav
