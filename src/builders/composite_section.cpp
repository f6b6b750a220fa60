#include "builders/composite_section.h"

#include <stdexcept>

#include "builders/bar_layouts.h"
#include "builders/model_writers.h"
#include "builders/steel_section.h"
#include "model/errors.h"
#include "model/section_properties.h"

namespace qav {

namespace {
enum class Concrete { RectColumn, Circle, RectBeam };

// The concrete's outline follows the type's bar layout: a rectangle for the column and the beam
// rows, a circle for the ring.
Concrete concreteKind(int type) {
    switch (compositeType(type).bars) {
        case BarLayout::Ring:
            return Concrete::Circle;
        case BarLayout::Beam:
            return Concrete::RectBeam;
        case BarLayout::Column:
        case BarLayout::OnCoverPoints:
            break;
    }
    return Concrete::RectColumn;
}

bool isCft(int type) {
    return type == 6 || type == 7;
}
}  // namespace

namespace {
constexpr auto Composite = BuilderKind::Composite;
}  // namespace

// Each type lists the boxes it reads in the order "Input Data" reads them: a bad text stops the
// reading there, with the boxes before it already read.
const std::array<ShapeDescriptor, COMPOSITE_TYPES>& compositeTypes() {
    static const std::vector<std::string> rectRc = {"Edit1",  "Edit2",  "Edit3",  "Edit4",
                                                    "Edit5",  "Edit6",  "Edit7",  "Edit8",
                                                    "Edit19", "Edit20", "Edit17", "Edit18"};
    static const std::vector<std::string> cirRc = {"Edit2", "Edit3",  "Edit4",
                                                   "Edit5", "Edit17", "Edit18"};
    static const std::vector<std::string> beamRc = {"Edit1", "Edit2", "Edit3", "Edit4",  "Edit5",
                                                    "Edit6", "Edit7", "Edit8", "Edit17", "Edit18"};
    static const std::vector<std::string> steel1 = {"Edit9", "Edit10", "Edit11", "Edit12"};
    static const std::vector<std::string> steel2 = {"Edit13", "Edit14", "Edit15", "Edit16"};
    static const std::vector<std::string> tube = {"Edit9", "Edit11"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b,
                   const std::vector<std::string>& c = {}) {
        a.insert(a.end(), b.begin(), b.end());
        a.insert(a.end(), c.begin(), c.end());
        return a;
    };
    auto type = [](int i, const char* name, const char* cliName, BarLayout bars,
                   std::vector<std::string> boxes) {
        ShapeDescriptor d{Composite, i, name, cliName, {}, {}, {}, {}, nullptr};
        d.bars = bars;
        d.boxes = std::move(boxes);
        return d;
    };
    constexpr auto Column = BarLayout::Column, Ring = BarLayout::Ring, Beam = BarLayout::Beam;
    static const std::array<ShapeDescriptor, COMPOSITE_TYPES> types = {
        type(0, "Rect RC Column", "rect-rc-column", Column, rectRc),
        type(1, "Cir RC Column", "cir-rc-column", Ring, cirRc),
        type(2, "Rect RC Beam", "rect-rc-beam", Beam, beamRc),
        type(3, "Rec SRC Column", "rect-src-column", Column, join(rectRc, steel1, steel2)),
        type(4, "Cir SRC Column", "cir-src-column", Ring, join(cirRc, steel1, steel2)),
        type(5, "Rect SRC Beam", "rect-src-beam", Beam, join(beamRc, steel1)),
        type(6, "Rect CFT", "rect-cft", Column, {"Edit2", "Edit1", "Edit11", "Edit12"}),
        type(7, "Cir CFT", "cir-cft", Ring, {"Edit2", "Edit11", "Edit12"}),
        type(8, "Rect SRC w/ Tube", "rect-src-tube", Column, join(rectRc, tube)),
        type(9, "Cir SRC w/ Tueb", "cir-src-tube", Ring, join(cirRc, tube))};
    return types;
}

namespace {
// Every box of the dialog: its caption (as the dialog's groups and columns name it), the command
// line's name for it, its default, what it accepts, and the parameter it fills.
struct CompositeBox {
    const char* box;
    const char* caption;
    const char* option;
    const char* value;
    const char* range;
    double CompositeParams::*length = nullptr;
    int CompositeParams::*count = nullptr;
};

constexpr const char* kPositive = "greater than 0";
constexpr const char* kCount = "a whole number, 0 or more";
constexpr const char* kBar = "at least 0 and at most twice Cover Thk";
constexpr const char* kPlate = "greater than 0 and thinner than its section leaves room for";

const std::vector<CompositeBox>& compositeBoxes() {
    using P = CompositeParams;
    static const std::vector<CompositeBox> boxes = {
        {"Edit1", "Sec Width", "width", "1000", kPositive, &P::SW},
        {"Edit2", "Sec Height", "height", "800", kPositive, &P::SH},
        {"Edit3", "X-Dir Rebar Layer", "x-layers", "1", kCount, nullptr, &P::LX},
        {"Edit4", "X-Dir Rebar Num", "x-number", "4", kCount, nullptr, &P::NX},
        {"Edit5", "X-Dir Rebar Dia", "x-diameter", "25", kBar, &P::DX},
        {"Edit6", "Y-Dir Rebar Layer", "y-layers", "1", kCount, nullptr, &P::LY},
        {"Edit7", "Y-Dir Rebar Num", "y-number", "4", kCount, nullptr, &P::NY},
        {"Edit8", "Y-Dir Rebar Dia", "y-diameter", "25", kBar, &P::DY},
        {"Edit17", "Cover Thk", "cover", "35",
         "at least 0 and less than half the width and the height of the concrete", &P::c},
        {"Edit18", "Spacer", "spacer", "30",
         "at least 0; every layer within its half of the section", &P::s},
        {"Edit19", "Corner Rebar Num", "corner-number", "1", kCount, nullptr, &P::NC},
        {"Edit20", "Corner Rebar Dia", "corner-diameter", "25", kBar, &P::DC},
        {"Edit9", "Steel Section 1 Sec Width", "steel1-width", "400", kPositive, &P::W1},
        {"Edit10", "Steel Section 1 Sec Height", "steel1-height", "600", kPositive, &P::H1},
        {"Edit11", "Steel Section 1 Flange Thick", "steel1-flange", "25", kPlate, &P::F1},
        {"Edit12", "Steel Section 1 Web Thick", "steel1-web", "20", kPlate, &P::T1},
        {"Edit13", "Steel Section 2 Sec Width", "steel2-width", "400", kPositive, &P::W2},
        {"Edit14", "Steel Section 2 Sec Height", "steel2-height", "600", kPositive, &P::H2},
        {"Edit15", "Steel Section 2 Flange Thick", "steel2-flange", "25", kPlate, &P::F2},
        {"Edit16", "Steel Section 2 Web Thick", "steel2-web", "20", kPlate, &P::T2},
    };
    return boxes;
}

const CompositeBox& compositeBox(const std::string& box) {
    for (const CompositeBox& b : compositeBoxes())
        if (box == b.box) return b;
    throw std::logic_error("no composite box " + box);
}
}  // namespace

BoxTexts compositeDialogTexts() {
    BoxTexts t;
    for (const CompositeBox& b : compositeBoxes()) t[b.box] = b.value;
    return t;
}

CompositeVisibility compositeVisibility(int type) {
    CompositeVisibility v;
    v.steel1 = type >= 3;
    v.steel2 = type == 3 || type == 4;
    if (type == 6) v.width1 = v.height1 = false;
    if (type == 7) v.width1 = v.height1 = v.web1 = false;
    // The tube types read their diameter from Sec Width, so that box is the one shown.
    if (type == 8 || type == 9) v.height1 = v.web1 = false;
    return v;
}

const BoxCaptions& compositeCaptions() {
    static const BoxCaptions captions = [] {
        BoxCaptions c;
        for (const CompositeBox& b : compositeBoxes()) c[b.box] = b.caption;
        return c;
    }();
    return captions;
}

void appendCompositeInputs(std::vector<ShapeInput>& in, int type) {
    for (const std::string& box : compositeType(type).boxes) {
        const CompositeBox& b = compositeBox(box);
        in.push_back({b.box, b.option, b.caption, b.length ? "mm" : "", b.value, b.range});
    }
}

const ShapeDescriptor& compositeType(int type) {
    if (type < 0 || type >= COMPOSITE_TYPES)
        throw InputError("There is no composite section type " + std::to_string(type) + ".");
    return compositeTypes()[static_cast<std::size_t>(type)];
}

void INPUT_DATA(CompositeParams& p, int type, const BoxTexts& texts) {
    const ShapeDescriptor& d = compositeType(type);
    const BoxReader r(texts, compositeCaptions());
    p.TYPE = type;
    p.read = true;
    for (const std::string& box : d.boxes) {
        const CompositeBox& b = compositeBox(box);
        if (b.length)
            p.*b.length = r.real(box);
        else
            p.*b.count = r.count(box);
        // A circle's diameter is its height; its width follows.
        if (b.length == &CompositeParams::SH && concreteKind(type) == Concrete::Circle) p.SW = p.SH;
    }
}

namespace {
const std::string& captionOf(const char* box) {
    return compositeCaptions().at(box);
}

// Plates of an I-section W wide, H deep, flanges F and web T thick.
void requireI(double W, double H, double F, double T, const char* w, const char* h, const char* f,
              const char* t) {
    requirePositive(W, captionOf(w));
    requirePositive(H, captionOf(h));
    requireWithin(F, captionOf(f), From::AboveZero, To::Below, {H / 2, "half of " + captionOf(h)});
    requireWithin(T, captionOf(t), From::AboveZero, To::Below, {W, "the " + captionOf(w)});
}

// The two I-sections of the cross: each web passes between the other's flanges, and the flanges
// of one may not reach into those of the other.
void requireCross(const CompositeParams& p) {
    requireI(p.W1, p.H1, p.F1, p.T1, "Edit9", "Edit10", "Edit11", "Edit12");
    requireI(p.W2, p.H2, p.F2, p.T2, "Edit13", "Edit14", "Edit15", "Edit16");
    const Bound between1{p.H1 - 2 * p.F1, "the clear depth between the flanges of Steel Section 1"};
    const Bound between2{p.H2 - 2 * p.F2, "the clear depth between the flanges of Steel Section 2"};
    requireWithin(p.T2, captionOf("Edit16"), From::AboveZero, To::Below, between1);
    requireWithin(p.T1, captionOf("Edit12"), From::AboveZero, To::Below, between2);
    if (p.W1 >= between2.value && p.W2 >= between1.value)
        requireWithin(p.W1, captionOf("Edit9"), From::AboveZero, To::Below,
                      {between2.value,
                       between2.why + ", unless Steel Section 2 Sec Width fits between those of "
                                      "Steel Section 1"});
}

// The concrete the bars sit in, B x H (a circle: B = H, the diameter).
struct ConcreteSize {
    double B, H;
};
ConcreteSize concreteSize(const CompositeParams& p) {
    if (p.TYPE == 6) return {p.SW - 2 * p.T1, p.SH - 2 * p.F1};
    if (p.TYPE == 7) return {p.SW - 2 * p.F1, p.SW - 2 * p.F1};
    if (concreteKind(p.TYPE) == Concrete::Circle) return {p.SH, p.SH};
    return {p.SW, p.SH};
}

void requireBars(const CompositeParams& p, const ConcreteSize& size) {
    const int t = p.TYPE;
    const Concrete kind = concreteKind(t);
    // A bar thicker than twice the cover would stand out of the concrete; a corner bundle is
    // held bar by bar.
    const Bound barRoom{2 * p.c, "twice Cover Thk"};
    requireCountNotNegative(p.LX, "X-Dir Rebar Layer");
    requireCountNotNegative(p.NX, "X-Dir Rebar Num");
    requireWithin(p.DX, "X-Dir Rebar Dia", From::Zero, To::UpTo, barRoom);
    if (kind != Concrete::Circle) {
        requireCountNotNegative(p.LY, "Y-Dir Rebar Layer");
        requireCountNotNegative(p.NY, "Y-Dir Rebar Num");
        requireWithin(p.DY, "Y-Dir Rebar Dia", From::Zero, To::UpTo, barRoom);
    }
    if (kind == Concrete::RectColumn) {
        requireCountNotNegative(p.NC, "Corner Rebar Num");
        requireWithin(p.DC, "Corner Rebar Dia", From::Zero, To::UpTo, barRoom);
    }
    if (kind == Concrete::RectBeam) {
        // A beam row runs from corner to corner: one bar alone has no spacing.
        if (p.LX > 0 && p.NX == 1)
            throw InputError("X-Dir Rebar needs at least 2 bars per layer (or 0 layers).");
        if (p.LY > 0 && p.NY == 1)
            throw InputError("Y-Dir Rebar needs at least 2 bars per layer (or 0 layers).");
    }
    requireNotNegative(p.s, "Spacer");
    const double x = barsOf({p.LX, p.NX, 0}), y = barsOf({p.LY, p.NY, 0});
    const double rise = size.H / 2 - p.c, side = size.B / 2 - p.c;
    switch (kind) {
        case Concrete::RectColumn:
            requireRowsFit(p.s, "Spacer",
                           {{p.LX, rise, "X-Dir Rebar"}, {p.LY, side, "Y-Dir Rebar"}});
            requireLayoutBars(2 * x + 2 * y + 4);
            break;
        case Concrete::RectBeam:
            requireRowsFit(p.s, "Spacer",
                           {{p.LX, rise, "X-Dir Rebar"}, {p.LY, rise, "Y-Dir Rebar"}});
            requireLayoutBars(x + y);
            break;
        case Concrete::Circle:
            requireRowsFit(p.s, "Spacer", {{p.LX, rise, "X-Dir Rebar"}});
            requireLayoutBars(x);
            break;
    }
}
}  // namespace

void checkCompositeParams(const CompositeParams& p) {
    const int t = p.TYPE;
    if (t < 0 || t >= COMPOSITE_TYPES)
        throw InputError("There is no composite section type " + std::to_string(t) + ".");
    if (!p.read) throw InputError("Nothing has been read yet: press \"Input Data\" first.");
    if (concreteKind(t) != Concrete::Circle) requirePositive(p.SW, "Sec Width");
    requirePositive(p.SH, "Sec Height");
    // The steel first: the concrete of the CFT types is what the tube walls leave.
    if (t == 3 || t == 4) requireCross(p);
    if (t == 5) requireI(p.W1, p.H1, p.F1, p.T1, "Edit9", "Edit10", "Edit11", "Edit12");
    if (t == 6) {
        requireWithin(p.F1, captionOf("Edit11"), From::AboveZero, To::Below,
                      {p.SH / 2, "half of Sec Height"});
        requireWithin(p.T1, captionOf("Edit12"), From::AboveZero, To::Below,
                      {p.SW / 2, "half of Sec Width"});
    }
    if (t == 7)
        requireWithin(p.F1, captionOf("Edit11"), From::AboveZero, To::Below,
                      {p.SH / 2, "half of Sec Height"});
    if (t == 8 || t == 9) {
        requirePositive(p.W1, captionOf("Edit9"));
        requireWithin(p.F1, captionOf("Edit11"), From::AboveZero, To::Below,
                      {p.W1 / 2, "half of Steel Section 1 Sec Width"});
    }
    // The cover line stays inside the concrete. The CFT types keep the cover thickness of an
    // earlier type for their cover line.
    const ConcreteSize size = concreteSize(p);
    Bound coverRoom =
        tightest({{size.B / 2, "half of Sec Width"}, {size.H / 2, "half of Sec Height"}});
    if (concreteKind(t) == Concrete::Circle) coverRoom = {size.H / 2, "half of Sec Height"};
    if (t == 6)
        coverRoom = tightest({{size.B / 2, "half the width of the concrete"},
                              {size.H / 2, "half the height of the concrete"}});
    if (t == 7) coverRoom = {size.H / 2, "half the diameter of the concrete"};
    requireWithin(p.c, "Cover Thk", From::Zero, To::Below, coverRoom);
    if (!isCft(t)) requireBars(p, size);
}

CompositeGeometry compositeGeometry(const CompositeParams& p) {
    CompositeGeometry g;
    const int t = p.TYPE;
    const double c = p.c;
    const bool withBars = !isCft(t);
    switch (concreteKind(t)) {
        case Concrete::RectColumn:
        case Concrete::RectBeam: {
            const double B = t == 6 ? p.SW - 2 * p.T1 : p.SW;
            const double H = t == 6 ? p.SH - 2 * p.F1 : p.SH;
            g.outline = rectangleClockwise(B, H);
            g.cover = rectangleClockwise(B - 2 * c, H - 2 * c);
            if (concreteKind(t) == Concrete::RectBeam)
                g.bars = beamBars(B, H, c, p.s, {p.LX, p.NX, p.DX}, {p.LY, p.NY, p.DY}, 0, 0);
            else if (withBars)
                g.bars =
                    columnBars(B, H, c, p.s, {p.LX, p.NX, p.DX}, {p.LY, p.NY, p.DY}, p.NC, p.DC);
            break;
        }
        case Concrete::Circle: {
            const double D = t == 7 ? p.SW - 2 * p.F1 : p.SH;
            g.outline = arc(0, 0, D / 2, D / 2, 15, 15, 24);
            g.cover = arc(0, 0, D / 2 - c, D / 2 - c, 15, 15, 24);
            if (withBars) g.bars = ringBars(D, c, p.s, {p.LX, p.NX, p.DX});
            break;
        }
    }
    g.hasSteel = true;
    switch (t) {
        case 5:
            g.steel = taperedI(p.H1, p.W1, p.W1, p.F1, p.F1, p.T1, p.T1);
            break;
        case 6:
            g.steel = hollowRectangle(p.SH, p.SW, p.F1, p.T1);
            break;
        case 7:
            g.steel = tube(p.SH, p.F1);
            break;
        case 8:
        case 9:
            g.steel = tube(p.W1, p.F1);
            break;
        case 3:
        case 4:
            g.steel = crossOfTwoI(p.W1, p.H1, p.F1, p.T1, p.W2, p.H2, p.F2, p.T2);
            break;
        default:
            g.hasSteel = false;
    }
    return g;
}

void buildCompositeSection(SectionModel& m, const CompositeParams& p) {
    checkCompositeParams(p);
    const CompositeGeometry g = compositeGeometry(p);
    requireAcceptedShape(g.outline, g.bars);
    requireAcceptedShape(g.cover);
    if (g.hasSteel) requireAcceptedShape(g.steel);
    writeConcrete(m, g.outline, g.cover, g.bars);
    if (g.hasSteel) FORM_STEEL_POLYGON(m, g.steel);
    refreshGeometry(m);
}

}  // namespace qav
