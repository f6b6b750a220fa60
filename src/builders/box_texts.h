#pragma once
// The texts of a builder dialog's edit boxes, by control name ("KEdit1", "Edit3", ...). The
// dialogs and the command line both fill the builders' parameters through this one reader, so a
// bad box gives the same message wherever it was typed.
#include <initializer_list>
#include <map>
#include <string>

namespace qav {

using BoxTexts = std::map<std::string, std::string>;
// The caption the user sees beside each box, by control name.
using BoxCaptions = std::map<std::string, std::string>;

class BoxReader {
public:
    BoxReader(const BoxTexts& texts, const BoxCaptions& captions)
        : texts_(texts), captions_(captions) {}
    // Strict conversions: ConversionError "<caption>: <the program's conversion message>" on a
    // bad text, so the user knows which box to mend.
    double real(const std::string& box) const;
    int count(const std::string& box) const;

private:
    const std::string& text(const std::string& box) const;
    std::string caption(const std::string& box) const;
    const BoxTexts& texts_;
    const BoxCaptions& captions_;
};

// Range checks of lengths (mm) done before a builder touches the model; each throws InputError
// naming the box by its caption. Every length must also lie within MAX_LENGTH_MM of 0.
void requireAcceptedLength(double value, const std::string& caption);
void requirePositive(double value, const std::string& caption);
void requireNotNegative(double value, const std::string& caption);
void requireCountNotNegative(int value, const std::string& caption);

// An upper bound that another box (or the geometry) puts on a box, and the words that say where
// it comes from ("half of Section Dim B").
struct Bound {
    double value = 0;
    std::string why;
};
// The smallest of the bounds (the first of equal ones).
Bound tightest(std::initializer_list<Bound> bounds);

enum class From { Zero, AboveZero };  // value >= 0, value > 0
enum class To { Below, UpTo };        // value < bound, value <= bound

// Refuses a length outside its range, e.g. "Rebar Distance d1(mm) must be at least 0 and less
// than 400 mm, half of Section Dim B (it is 1e+06)."
void requireWithin(double value, const std::string& caption, From from, To to, const Bound& bound);
// Refuses a length outside [-limit, limit], e.g. for the centre of an opening.
void requireBetween(double value, const std::string& caption, double limit, const std::string& why);

}  // namespace qav
