// The shape descriptors: every builder's shapes named once, and the command line reaching every
// input through its name exactly as through its box.
#include "builders/shape_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "support/cli_runner.h"

using namespace qav;

namespace {
constexpr BuilderKind kKinds[] = {BuilderKind::Typical, BuilderKind::Steel, BuilderKind::Composite,
                                  BuilderKind::Opening};

// Every length a tenth larger (0 becomes 12.5): the shape keeps its proportions and differs
// from the dialog's defaults.
std::string changed(const ShapeInput& in) {
    if (in.unit.empty()) return in.value;
    const double v = ToFloat(in.value);
    return v == 0 ? "12.5" : Format("%g", {v * 1.1});
}
}  // namespace

TEST(ShapeCatalog, EveryInputIsADialogBoxWithItsDefaultAndAnOptionOfItsOwn) {
    for (BuilderKind kind : kKinds) {
        std::set<std::string> names;
        for (const ShapeDescriptor* d : shapesOf(kind)) {
            const std::string shape = std::string(builderName(kind)) + " " + d->cliName;
            EXPECT_TRUE(names.insert(d->cliName).second) << shape;
            EXPECT_EQ(findShape(kind, d->cliName), d) << shape;
            const BoxTexts texts = shapeDialogTexts(*d);
            std::set<std::string> options, boxes;
            for (const ShapeInput& in : shapeInputs(*d)) {
                EXPECT_TRUE(options.insert(in.option).second) << shape << " --" << in.option;
                EXPECT_TRUE(boxes.insert(in.box).second) << shape << " " << in.box;
                ASSERT_TRUE(texts.count(in.box)) << shape << " " << in.box;
                EXPECT_EQ(texts.at(in.box), in.value) << shape << " " << in.box;
            }
        }
    }
}

TEST(ShapeCatalog, OptionsAreTheLettersOfTheCaptions) {
    const std::pair<const char*, const char*> cases[] = {{"Overall depth(D)", "D"},
                                                         {"Flange thick Top(Tt)", "Tt"},
                                                         {"Section Dim B", "B"},
                                                         {"Section Dia D(mm)", "D"},
                                                         {"Location X(mm)", "X"}};
    for (const auto& [caption, option] : cases) EXPECT_EQ(optionFromCaption(caption), option);
}

// The table over every shape: named options and --set give the same file byte for byte, and
// both differ from the shape's defaults.
TEST(ShapeCatalog, NamedInputsBuildWhatTheBoxesBuild) {
    const std::string byName = test::tempPath("by_name.sec"), byBox = test::tempPath("by_box.sec"),
                      plain = test::tempPath("plain.sec");
    for (BuilderKind kind : kKinds)
        for (const ShapeDescriptor* d : shapesOf(kind)) {
            const std::string builder = std::string("build ") + builderName(kind);
            const std::string shape = builder + " " + d->cliName;
            std::string named = shape, sets = builder + " --shape " + std::to_string(d->index);
            for (const ShapeInput& in : shapeInputs(*d)) {
                named += " --" + in.option + " " + changed(in);
                sets += " --set " + in.box + "=" + changed(in);
            }
            ASSERT_EQ(test::runCli(named + " -o " + byName).status, 0) << named;
            ASSERT_EQ(test::runCli(sets + " -o " + byBox).status, 0) << sets;
            ASSERT_EQ(test::runCli(shape + " -o " + plain).status, 0) << shape;
            EXPECT_EQ(readTextLines(byName), readTextLines(byBox)) << shape;
            EXPECT_NE(readTextLines(byName), readTextLines(plain)) << shape;
        }
    for (const auto& p : {byName, byBox, plain}) std::remove(p.c_str());
}

TEST(ShapeCatalog, HelpListsTheShapesAndTheirInputsAndMistakesNameTheChoices) {
    for (BuilderKind kind : kKinds) {
        const std::string builder = std::string("build ") + builderName(kind);
        const std::string shapes = test::runCli(builder + " --help").out;
        for (const ShapeDescriptor* d : shapesOf(kind)) {
            EXPECT_NE(shapes.find("  " + d->cliName + " "), std::string::npos) << d->cliName;
            const std::string inputs = test::runCli(builder + " " + d->cliName + " --help").out;
            for (const ShapeInput& in : shapeInputs(*d))
                EXPECT_NE(inputs.find("  --" + in.option + " "), std::string::npos)
                    << d->cliName << " --" << in.option;
        }
    }
    const std::string out = test::tempPath("mistake.sec");
    const struct {
        std::string args, says;
    } mistakes[] = {
        {"build typical box", "(shapes: rectangle, rectangle-beam, circle,"},
        {"build typical circle --B 800", "has no option --B (its options: --D --cover"},
        {"build steel tube --shape 3", "--shape 3 is not tube (--shape 8)"},
        {"build opening circle --D 100 --set KEdit1=200", "set the same box"},
    };
    for (const auto& m : mistakes) {
        const test::CliRun r = test::runCli(m.args + " -o " + out);
        EXPECT_EQ(r.status, 2) << m.args;
        EXPECT_NE(r.out.find(m.says), std::string::npos) << r.out;
    }
}

// The range --help states is the range the build holds: a row at the bound its proportion puts
// on it, or at 0 where it must be greater than 0, is refused with the words the help uses.
TEST(ShapeCatalog, RowsAreHeldToTheRangesTheHelpStates) {
    for (BuilderKind kind : {BuilderKind::Typical, BuilderKind::Steel})
        for (const ShapeDescriptor* d : shapesOf(kind)) {
            const BoxTexts defaults = shapeDialogTexts(*d);
            Dimensions v{};
            for (std::size_t i = 0; i < d->rows.size(); ++i)
                v[i] = ToFloat(defaults.at(rowBox(*d, i)));
            auto refused = [&](std::size_t row, double value) {
                BoxTexts t = defaults;
                t[rowBox(*d, row)] = Format("%0.17g", {value});
                SectionModel m;
                try {
                    buildShape(m, *d, t);
                } catch (const InputError& e) {
                    return std::string(e.what());
                }
                return std::string();
            };
            const std::vector<ShapeInput> inputs = shapeInputs(*d);
            for (const Proportion& q : d->proportions) {
                const Bound b = proportionBound(q, d->rows, v);
                // A row with two bounds meets the tighter one first (the first of equal ones).
                const auto first = std::find_if(
                    d->proportions.begin(), d->proportions.end(), [&](const Proportion& o) {
                        return o.row == q.row && proportionBound(o, d->rows, v).value <= b.value;
                    });
                if (&*first != &q) continue;
                const double at = q.to == To::Below ? b.value : b.value * 1.01;
                const std::string why = refused(q.row, at);
                EXPECT_NE(why.find(b.why), std::string::npos) << d->cliName << ": " << why;
                EXPECT_NE(inputs[q.row].range.find(b.why), std::string::npos) << d->cliName;
            }
            for (std::size_t i = 0; i < d->rows.size(); ++i) {
                if (!inputs[i].range.starts_with("greater than 0")) continue;
                EXPECT_NE(refused(i, 0), "") << d->cliName << " " << d->rows[i].label;
            }
        }
}
