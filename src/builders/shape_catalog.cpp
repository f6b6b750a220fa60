#include "builders/shape_catalog.h"

#include <algorithm>
#include <iterator>

#include "builders/composite_section.h"
#include "builders/opening_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "model/errors.h"

namespace qav {

std::string rowBox(const ShapeDescriptor& d, std::size_t i) {
    const DimensionRow& r = d.rows.at(i);
    return r.box.empty() ? "KEdit" + std::to_string(i + 1) : r.box;
}

Bound proportionBound(const Proportion& q, const std::vector<DimensionRow>& rows,
                      const Dimensions& v) {
    switch (q.part) {
        case Part::Half:
            return {v[q.of] / 2, "half of " + rows[q.of].label};
        case Part::Whole:
            return {v[q.of], "the " + rows[q.of].label};
        case Part::Less:
            break;
    }
    return {v[q.of] - v[q.less], rows[q.of].label + " less " + rows[q.less].label};
}

namespace {
bool mayBeZero(const ShapeDescriptor& d, std::size_t row) {
    return std::find(d.mayBeZero.begin(), d.mayBeZero.end(), row) != d.mayBeZero.end();
}
}  // namespace

void checkDimensions(const ShapeDescriptor& d, const Dimensions& v) {
    for (std::size_t i = 0; i < d.rows.size(); ++i) {
        if (mayBeZero(d, i))
            requireNotNegative(v[i], d.rows[i].label);
        else
            requirePositive(v[i], d.rows[i].label);
    }
    for (const Proportion& q : d.proportions)
        requireWithin(v[q.row], d.rows[q.row].label,
                      mayBeZero(d, q.row) ? From::Zero : From::AboveZero, q.to,
                      proportionBound(q, d.rows, v));
}

std::string optionFromCaption(const std::string& caption) {
    std::string c = caption;
    if (c.size() >= 4 && c.ends_with("(mm)")) c.resize(c.size() - 4);
    const auto open = c.rfind('(');
    if (open != std::string::npos && c.back() == ')')
        return c.substr(open + 1, c.size() - open - 2);
    const auto space = c.rfind(' ');
    return space == std::string::npos ? c : c.substr(space + 1);
}

const char* builderName(BuilderKind kind) {
    switch (kind) {
        case BuilderKind::Typical:
            return "typical";
        case BuilderKind::Steel:
            return "steel";
        case BuilderKind::Composite:
            return "composite";
        case BuilderKind::Opening:
            break;
    }
    return "opening";
}

namespace {
template <class Table>
std::vector<const ShapeDescriptor*> pointers(const Table& table) {
    std::vector<const ShapeDescriptor*> out;
    for (const ShapeDescriptor& d : table) out.push_back(&d);
    return out;
}
}  // namespace

std::vector<const ShapeDescriptor*> shapesOf(BuilderKind kind) {
    switch (kind) {
        case BuilderKind::Typical:
            return pointers(typicalShapes());
        case BuilderKind::Steel:
            return pointers(steelShapes());
        case BuilderKind::Composite:
            return pointers(compositeTypes());
        case BuilderKind::Opening:
            break;
    }
    return pointers(openingShapes());
}

const ShapeDescriptor* findShape(BuilderKind kind, const std::string& cliName) {
    for (const ShapeDescriptor* d : shapesOf(kind))
        if (d->cliName == cliName) return d;
    return nullptr;
}

namespace {
// "greater than 0 and less than half of Overall depth(D)"
std::string rowRange(const ShapeDescriptor& d, std::size_t row) {
    std::string s = mayBeZero(d, row) ? "at least 0" : "greater than 0";
    for (const Proportion& q : d.proportions) {
        if (q.row != row) continue;
        const Bound b = proportionBound(q, d.rows, Dimensions{});
        s += std::string(q.to == To::Below ? " and less than " : " and at most ") + b.why;
    }
    return s;
}
}  // namespace

std::vector<ShapeInput> shapeInputs(const ShapeDescriptor& d) {
    std::vector<ShapeInput> in;
    for (std::size_t i = 0; i < d.rows.size(); ++i) {
        const DimensionRow& r = d.rows[i];
        // An opening's last two rows are its centre, which may lie on either side of 0.
        const bool centre = d.kind == BuilderKind::Opening && i + 2 >= d.rows.size();
        in.push_back({rowBox(d, i), optionFromCaption(r.label), r.label, "mm", r.value,
                      centre ? "any, the whole opening within the length bound" : rowRange(d, i)});
    }
    switch (d.kind) {
        case BuilderKind::Typical:
            appendTypicalInputs(in, d.index);
            break;
        case BuilderKind::Composite:
            appendCompositeInputs(in, d.index);
            break;
        case BuilderKind::Steel:
        case BuilderKind::Opening:
            break;
    }
    return in;
}

BoxTexts shapeDialogTexts(const ShapeDescriptor& d) {
    BoxTexts t;
    switch (d.kind) {
        case BuilderKind::Typical:
            t = typicalDialogTexts();
            typicalShapeChange(t, d.index);
            break;
        case BuilderKind::Steel:
            t = steelDialogTexts();
            steelShapeChange(t, d.index);
            break;
        case BuilderKind::Composite:
            t = compositeDialogTexts();
            break;
        case BuilderKind::Opening:
            t = openingDialogTexts();
            break;
    }
    return t;
}

void buildShape(SectionModel& m, const ShapeDescriptor& d, const BoxTexts& texts) {
    switch (d.kind) {
        case BuilderKind::Typical:
            buildTypicalSection(m, d.index, texts);
            break;
        case BuilderKind::Steel:
            buildSteelSection(m, d.index, texts);
            break;
        case BuilderKind::Composite: {
            CompositeParams p;
            INPUT_DATA(p, d.index, texts);
            buildCompositeSection(m, p);
            break;
        }
        case BuilderKind::Opening:
            buildOpening(m, d.index, texts);
            break;
    }
}

void buildNamedShape(SectionModel& m, const std::string& kind, const std::string& shape,
                     const std::vector<std::pair<std::string, std::string>>& inputs) {
    constexpr BuilderKind kinds[] = {BuilderKind::Typical, BuilderKind::Steel,
                                     BuilderKind::Composite, BuilderKind::Opening};
    const BuilderKind* k = std::find_if(std::begin(kinds), std::end(kinds),
                                        [&](BuilderKind b) { return kind == builderName(b); });
    if (k == std::end(kinds))
        throw InputError("There is no builder '" + kind +
                         "': the builders are typical, steel, composite and opening.");
    auto listed = [](const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
        return text;
    };
    const ShapeDescriptor* d = findShape(*k, shape);
    if (!d) {
        std::vector<std::string> names;
        for (const ShapeDescriptor* s : shapesOf(*k)) names.push_back(s->cliName);
        throw InputError("The " + kind + " builder has no shape '" + shape + "': its shapes are " +
                         listed(names) + ".");
    }
    const std::vector<ShapeInput> known = shapeInputs(*d);
    BoxTexts texts = shapeDialogTexts(*d);
    for (const auto& input : inputs) {
        const std::string& name = input.first;
        const auto in = std::find_if(known.begin(), known.end(),
                                     [&](const ShapeInput& i) { return i.option == name; });
        if (in == known.end()) {
            std::vector<std::string> names;
            for (const ShapeInput& i : known) names.push_back(i.option);
            throw InputError("The " + kind + " shape " + shape + " has no input '" + name +
                             "': its inputs are " + listed(names) + ".");
        }
        texts[in->box] = input.second;
    }
    buildShape(m, *d, texts);
}

}  // namespace qav
