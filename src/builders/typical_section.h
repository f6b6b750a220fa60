#pragma once
// "Build Typical Section": fifteen parametric concrete shapes with their cover line and bars.
#include <array>
#include <string>
#include <vector>

#include "builders/box_texts.h"
#include "builders/shape_catalog.h"
#include "builders/shape_forms.h"
#include "model/section_model.h"

namespace qav {

constexpr int TYPICAL_SHAPES = 15;

// The shapes in the dialog's list order; index i is shape i.
const std::array<ShapeDescriptor, TYPICAL_SHAPES>& typicalShapes();
// Shape `shape`; InputError when there is none.
const ShapeDescriptor& typicalShape(int shape);

// Captions of the three bar groups of the shapes with bar rows (none for the others).
struct BarGroupCaptions {
    std::string first, second, third;
    std::string firstNumber;   // Edit5 reset
    std::string secondNumber;  // Edit8 reset (empty: not reset)
};
BarGroupCaptions typicalBarGroups(int shape);

// The box texts of a newly created dialog.
BoxTexts typicalDialogTexts();
// What choosing a shape does to the box texts: every dimension box "0", then the shape's
// defaults; Edit5 and Edit8 reset for the shapes with bar rows. Other boxes keep what was typed.
void typicalShapeChange(BoxTexts& texts, int shape);

struct TypicalParams {
    int shape = 0;
    Dimensions dim{};       // KEdit1.. in the shape's row order
    double d1 = 0;          // Edit3
    double s = 0;           // Edit12
    double typicalDia = 0;  // Edit14
    int nRx = 0, nx = 0;    // Edit4, Edit5
    double dx = 0;          // Edit6
    int nRy = 0, ny = 0;    // Edit7, Edit8
    double dy = 0;          // Edit9
    int nc = 0;             // Edit10
    double dc = 0;          // Edit11
};

// The caption of every box the shape reads (dimension rows, bar groups, section properties):
// exactly the boxes readTypicalParams converts.
BoxCaptions typicalCaptions(int shape);
// The boxes besides the dimension rows, as the command line names them.
void appendTypicalInputs(std::vector<ShapeInput>& in, int shape);

// Reads the boxes the shape uses, in the dialog's order; ConversionError on the first bad one,
// naming the box by its caption.
TypicalParams readTypicalParams(int shape, const BoxTexts& texts);
// Holds every box to its range: dimensions that make a simple outline, a cover distance that
// leaves the cover line inside it, bars no thicker than twice the cover distance, rows that stay
// within their half of the section, and a finite layout. InputError naming the box and its range.
void checkTypicalParams(const TypicalParams& p);

struct SectionGeometry {
    Corners outline;
    Corners cover;
    std::vector<TBAR> bars;
};
SectionGeometry typicalGeometry(const TypicalParams& p);

// "Gen Section": reads and checks every box, then empties the model and writes the shape, and
// recomputes the centroid and the zone. A box that is not a number or out of its range leaves the
// model as it was.
void buildTypicalSection(SectionModel& m, int shape, const BoxTexts& texts);

}  // namespace qav
