#pragma once
// Golden files under tests/data/: a test compares what the program writes with the checked-in
// text. With QAVSEC_UPDATE_GOLDEN=1 in the environment the test rewrites the file instead (and
// passes), so a change of results shows as a diff to review, never slips in.
#include <string>

namespace qav::test {

// Path of a golden file below tests/data/.
std::string goldenPath(const std::string& relative);

// True when this run rewrites golden files.
bool updatingGoldens();

// Compares `text` with the golden file (or rewrites it when updating). Returns an empty string
// when they agree, else a description of the first difference (line number, both lines).
std::string compareWithGolden(const std::string& relative, const std::string& text);

}  // namespace qav::test
