#pragma once
// What a builder's shapes are, told once: each shape's list text, its name on the command line,
// its dimension rows (caption, default, the letter on its picture), the proportions that keep it
// one simple outline, and the function that draws it. The dialogs, the pictures, the command line
// and any script read these descriptors; nothing else numbers the shapes.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "builders/box_texts.h"
#include "builders/shape_forms.h"

namespace qav {

enum class BuilderKind { Typical, Steel, Composite, Opening };

constexpr int DIMENSION_ROWS = 7;  // KEdit1..KEdit7
using Dimensions = std::array<double, DIMENSION_ROWS>;

// One visible dimension row: its caption, the default its box gets on a shape change, and the
// letter the shape picture and the formulas use. The row's box is KEdit<row + 1> unless `box`
// names another.
struct DimensionRow {
    std::string label;
    std::string value;
    std::string symbol;
    std::string box = {};
};

// What bounds one dimension row from above, worked out from the other rows of its shape.
enum class Part { Half, Whole, Less };  // half of `of`, all of `of`, `of` less `less`
struct Proportion {
    std::size_t row;
    Part part;
    std::size_t of;
    std::size_t less = 0;
    To to = To::Below;
};

// The outline of a shape and, for concrete, its cover line d1 inside.
struct ShapeOutline {
    Corners outline;
    Corners cover;
};
using ShapeGeometry = ShapeOutline (*)(const Dimensions& v, double d1);

// One dimension line of a shape's picture from a to b (model millimetres) with its letter.
struct DimensionMark {
    std::string letter;
    TPOS a, b;
};
// Where a picture's marks go: the shape's extent and the distance of a dimension line from it.
struct PictureFrame {
    double xmin, xmax, ymin, ymax, gap;
};
using PictureMarks = std::vector<DimensionMark> (*)(const Dimensions& v, const PictureFrame& f);

// Where a concrete shape's bars go: one on every cover point, or in the rows of the dialog's bar
// groups (column, beam, circle).
enum class BarLayout { OnCoverPoints, Column, Beam, Ring };

struct ShapeDescriptor {
    BuilderKind kind;
    int index;
    std::string name;     // the dialog's list text
    std::string cliName;  // the command line's name: "rectangle", "i-section", ...
    std::vector<DimensionRow> rows;
    std::vector<Proportion> proportions;
    // Rows whose halves bound the cover distance: the parts the bars line.
    std::vector<std::size_t> coverParts;
    // Rows that may be 0 (the flat parts of a rounded shape); the others must be above 0.
    std::vector<std::size_t> mayBeZero;
    ShapeGeometry geometry = nullptr;
    PictureMarks marks = nullptr;  // the dimension lines of the dialog's picture
    BarLayout bars = BarLayout::OnCoverPoints;
    // A builder whose boxes are not dimension rows: the boxes the shape reads, in order.
    std::vector<std::string> boxes = {};
};

// The box of dimension row i of a descriptor.
std::string rowBox(const ShapeDescriptor& d, std::size_t i);
// The bound a proportion puts on its row, with the words that say where it comes from.
Bound proportionBound(const Proportion& q, const std::vector<DimensionRow>& rows,
                      const Dimensions& v);
// Holds every dimension row above 0 (or at 0 where allowed) and to its proportions; InputError
// naming the row and its range.
void checkDimensions(const ShapeDescriptor& d, const Dimensions& v);

// The command line's name of a box from its caption: the letter in the caption's last
// parentheses ("Overall depth(D)" -> "D"), else its last word with any "(mm)" dropped
// ("Section Dim B" -> "B", "Section Dia D(mm)" -> "D", "Location X(mm)" -> "X").
std::string optionFromCaption(const std::string& caption);

// One input of a shape as a user outside the dialog sees it.
struct ShapeInput {
    std::string box;      // the dialog's control: "KEdit1", "Edit3"
    std::string option;   // the command line's name without "--": "B", "cover"
    std::string caption;  // what the dialog writes beside the box
    std::string unit;     // "mm" for lengths, empty for counts
    std::string value;    // the default
    std::string range;    // the values accepted, in words
};

// Every builder kind's name on the command line and the other way round.
const char* builderName(BuilderKind kind);
// The shapes of a kind in the dialog's order (one entry for a builder without shapes).
std::vector<const ShapeDescriptor*> shapesOf(BuilderKind kind);
// The shape named `cliName`, or nullptr.
const ShapeDescriptor* findShape(BuilderKind kind, const std::string& cliName);
// Every box the shape reads, in the dialog's order.
std::vector<ShapeInput> shapeInputs(const ShapeDescriptor& d);

// The boxes of a new dialog once the shape is chosen.
BoxTexts shapeDialogTexts(const ShapeDescriptor& d);
// What the dialog's "Gen Section" does with these boxes (the composite builder reads them with
// "Input Data" first).
void buildShape(SectionModel& m, const ShapeDescriptor& d, const BoxTexts& texts);

// Builds shape `shape` of builder `kind` ("typical", "rectangle") from the dialog's defaults with
// the named inputs (ShapeInput::option: "B", "cover", "bar-diameter") set to their texts, as a
// script asks for it. InputError naming the valid choices for an unknown builder, shape or input.
void buildNamedShape(SectionModel& m, const std::string& kind, const std::string& shape,
                     const std::vector<std::pair<std::string, std::string>>& inputs);

}  // namespace qav
