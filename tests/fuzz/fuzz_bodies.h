#pragma once
// What each fuzz target does with one input. The libFuzzer entry points (fuzz_<target>.cpp) and
// the ordinary test that replays tests/data/fuzz-regressions/ both call these, so a finding
// stays covered by `make test` once it is mended.
//
// A body returns "" when the program behaved: it either took the input or refused it with one
// of its own errors (ConversionError, InputError, FileError, NumericError). Anything else
// escapes as an exception, or comes back as the text of the broken promise (a file we wrote
// that does not read back, a non-finite value in the model, ...).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qav::fuzz {

using Body = std::string (*)(const uint8_t* data, std::size_t size);

// Section file: read, save, read again: the second reading must not fail and must give the same
// file again.
std::string sectionFile(const uint8_t* data, std::size_t size);
// DXF import: what it takes saves as a section file that reads back.
std::string dxfImport(const uint8_t* data, std::size_t size);
// Force CSV import in both unit systems: the exported CSV and the saved section read back.
std::string forceCsv(const uint8_t* data, std::size_t size);
// Number text: text -> number -> text -> number gives the same number and the same text.
std::string numberText(const uint8_t* data, std::size_t size);
// Builders: a shape and one text per box; what a builder makes saves and reads back.
std::string builderBoxes(const uint8_t* data, std::size_t size);
// Mesher: a small polygon (3 to 12 corners within 1000 mm) with up to 8 bars and a mesh size.
std::string mesher(const uint8_t* data, std::size_t size);
// Solver: a code and grades, a meshed polygon with bars (as mesher) and three loads: each state
// the solver calls converged lies along its load (the balanced residual within the solver's
// tolerance), at a positive fraction and, from the fast solver, exactly at the limit rule; a
// solve that did not converge or was flagged off balance is said so by the runs.
std::string solver(const uint8_t* data, std::size_t size);

struct Target {
    const char* name;  // also the directory name of its corpus and regressions
    Body body;
};
const std::vector<Target>& targets();

}  // namespace qav::fuzz
