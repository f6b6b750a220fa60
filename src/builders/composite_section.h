#pragma once
// "Build Composite Section": RC, SRC and CFT columns and beams in one step. "Input Data" reads
// the dialog into a parameter set that lives as long as the program; "Gen Section" builds from
// that set only, so what was typed after the last "Input Data" is not used.
#include <array>
#include <string>
#include <vector>

#include "builders/box_texts.h"
#include "builders/shape_catalog.h"
#include "builders/shape_forms.h"
#include "model/section_model.h"

namespace qav {

constexpr int COMPOSITE_TYPES = 10;

// The types in the dialog's list order, each with the boxes it reads.
const std::array<ShapeDescriptor, COMPOSITE_TYPES>& compositeTypes();
// Type `type`; InputError when there is none.
const ShapeDescriptor& compositeType(int type);

struct CompositeParams {
    int TYPE = 0;
    double SW = 0, SH = 0;                  // Edit1, Edit2
    int LX = 0, NX = 0;                     // Edit3, Edit4
    double DX = 0;                          // Edit5
    int LY = 0, NY = 0;                     // Edit6, Edit7
    double DY = 0;                          // Edit8
    double c = 0, s = 0;                    // Edit17, Edit18
    int NC = 0;                             // Edit19
    double DC = 0;                          // Edit20
    double W1 = 0, H1 = 0, F1 = 0, T1 = 0;  // Edit9..Edit12
    double W2 = 0, H2 = 0, F2 = 0, T2 = 0;  // Edit13..Edit16
    bool read = false;                      // set by the first INPUT_DATA
};

BoxTexts compositeDialogTexts();

// Which controls a type shows.
struct CompositeVisibility {
    bool steel1 = false, steel2 = false;
    bool width1 = true, height1 = true, flange1 = true, web1 = true;  // inside Steel Section 1
};
CompositeVisibility compositeVisibility(int type);

// The caption of every box, as the dialog's groups and columns name it ("X-Dir Rebar Num",
// "Steel Section 1 Flange Thick").
const BoxCaptions& compositeCaptions();
// Every box the type reads, as the command line names it.
void appendCompositeInputs(std::vector<ShapeInput>& in, int type);

// "Input Data": sets TYPE, then reads the boxes the type uses in the dialog's order straight
// into p. On a bad text the ConversionError (naming the box) leaves the values read before it
// in p; the model is never touched here.
void INPUT_DATA(CompositeParams& p, int type, const BoxTexts& texts);

// Holds every parameter the type uses to its range (InputError naming the box and the range):
// steel plates that make one simple polygon, a cover line inside the concrete, bars no thicker
// than twice the cover, rows clear of the middle, and a finite layout.
void checkCompositeParams(const CompositeParams& p);

struct CompositeGeometry {
    Corners outline, cover;
    std::vector<TBAR> bars;
    bool hasSteel = false;
    Corners steel;
};
CompositeGeometry compositeGeometry(const CompositeParams& p);

// "Gen Section": checks, then writes the concrete, cover line and bars, replaces the steel
// polygon for the SRC and CFT types (the RC types keep the model's steel), and recomputes the
// areas and the zone. Openings and the mesh are left as they are.
void buildCompositeSection(SectionModel& m, const CompositeParams& p);

}  // namespace qav
