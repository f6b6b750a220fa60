#pragma once
// The texts of a builder dialog's edit boxes, by control name ("KEdit1", "Edit3", ...). The
// dialogs and the command line both fill the builders' parameters through this one reader, so a
// bad box gives the same message wherever it was typed.
#include <map>
#include <string>

namespace qav {

using BoxTexts = std::map<std::string, std::string>;

class BoxReader {
public:
    explicit BoxReader(const BoxTexts& texts) : texts_(texts) {}
    // Strict conversions: ConversionError with the program's message on a bad text.
    double real(const std::string& box) const;
    int count(const std::string& box) const;

private:
    const std::string& text(const std::string& box) const;
    const BoxTexts& texts_;
};

// Range checks of lengths (mm) done before a builder touches the model; each throws InputError
// naming the box by its caption. Every length must also lie within MAX_LENGTH_MM of 0.
void requireAcceptedLength(double value, const std::string& caption);
void requirePositive(double value, const std::string& caption);
void requireNotNegative(double value, const std::string& caption);
void requireCountNotNegative(int value, const std::string& caption);

}  // namespace qav
