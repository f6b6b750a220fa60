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

Concrete concreteKind(int type) {
    switch (type) {
        case 0:
        case 3:
        case 6:
        case 8:
            return Concrete::RectColumn;
        case 1:
        case 4:
        case 7:
        case 9:
            return Concrete::Circle;
        default:
            return Concrete::RectBeam;
    }
}

bool isCft(int type) {
    return type == 6 || type == 7;
}
}  // namespace

const std::array<std::string, COMPOSITE_TYPES>& compositeTypeNames() {
    static const std::array<std::string, COMPOSITE_TYPES> names = {
        "Rect RC Column", "Cir RC Column", "Rect RC Beam", "Rec SRC Column",   "Cir SRC Column",
        "Rect SRC Beam",  "Rect CFT",      "Cir CFT",      "Rect SRC w/ Tube", "Cir SRC w/ Tueb"};
    return names;
}

BoxTexts compositeDialogTexts() {
    return {{"Edit1", "1000"}, {"Edit2", "800"},  {"Edit3", "1"},   {"Edit4", "4"},
            {"Edit5", "25"},   {"Edit6", "1"},    {"Edit7", "4"},   {"Edit8", "25"},
            {"Edit17", "35"},  {"Edit18", "30"},  {"Edit19", "1"},  {"Edit20", "25"},
            {"Edit9", "400"},  {"Edit10", "600"}, {"Edit11", "25"}, {"Edit12", "20"},
            {"Edit13", "400"}, {"Edit14", "600"}, {"Edit15", "25"}, {"Edit16", "20"}};
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
    static const BoxCaptions captions = {
        {"Edit1", "Sec Width"},
        {"Edit2", "Sec Height"},
        {"Edit3", "X-Dir Rebar Layer"},
        {"Edit4", "X-Dir Rebar Num"},
        {"Edit5", "X-Dir Rebar Dia"},
        {"Edit6", "Y-Dir Rebar Layer"},
        {"Edit7", "Y-Dir Rebar Num"},
        {"Edit8", "Y-Dir Rebar Dia"},
        {"Edit17", "Cover Thk"},
        {"Edit18", "Spacer"},
        {"Edit19", "Corner Rebar Num"},
        {"Edit20", "Corner Rebar Dia"},
        {"Edit9", "Steel Section 1 Sec Width"},
        {"Edit10", "Steel Section 1 Sec Height"},
        {"Edit11", "Steel Section 1 Flange Thick"},
        {"Edit12", "Steel Section 1 Web Thick"},
        {"Edit13", "Steel Section 2 Sec Width"},
        {"Edit14", "Steel Section 2 Sec Height"},
        {"Edit15", "Steel Section 2 Flange Thick"},
        {"Edit16", "Steel Section 2 Web Thick"},
    };
    return captions;
}

void INPUT_DATA(CompositeParams& p, int type, const BoxTexts& texts) {
    if (type < 0 || type >= COMPOSITE_TYPES)
        throw InputError("There is no composite section type " + std::to_string(type) + ".");
    const BoxReader r(texts, compositeCaptions());
    p.TYPE = type;
    p.read = true;
    switch (type) {
        case 0:
        case 3:
        case 8:
        case 2:
        case 5:
            p.SW = r.real("Edit1");
            p.SH = r.real("Edit2");
            p.LX = r.count("Edit3");
            p.NX = r.count("Edit4");
            p.DX = r.real("Edit5");
            p.LY = r.count("Edit6");
            p.NY = r.count("Edit7");
            p.DY = r.real("Edit8");
            if (type != 2 && type != 5) {
                p.NC = r.count("Edit19");
                p.DC = r.real("Edit20");
            }
            p.c = r.real("Edit17");
            p.s = r.real("Edit18");
            break;
        case 1:
        case 4:
        case 9:
            p.SH = r.real("Edit2");
            p.SW = p.SH;
            p.LX = r.count("Edit3");
            p.NX = r.count("Edit4");
            p.DX = r.real("Edit5");
            p.c = r.real("Edit17");
            p.s = r.real("Edit18");
            break;
        case 7:
            p.SH = r.real("Edit2");
            p.SW = p.SH;
            break;
        case 6:
            p.SH = r.real("Edit2");
            p.SW = r.real("Edit1");
            break;
    }
    if (type == 3 || type == 4 || type == 5) {
        p.W1 = r.real("Edit9");
        p.H1 = r.real("Edit10");
        p.F1 = r.real("Edit11");
        p.T1 = r.real("Edit12");
    }
    if (type == 3 || type == 4) {
        p.W2 = r.real("Edit13");
        p.H2 = r.real("Edit14");
        p.F2 = r.real("Edit15");
        p.T2 = r.real("Edit16");
    }
    if (isCft(type)) {
        p.F1 = r.real("Edit11");
        p.T1 = r.real("Edit12");
    }
    if (type == 8 || type == 9) {
        p.W1 = r.real("Edit9");
        p.F1 = r.real("Edit11");
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
