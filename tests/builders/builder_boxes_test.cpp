// Every box of every builder: a typo or a value outside the box's range is refused naming the box
// by its caption, and the section stays exactly as it was.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "builders/composite_section.h"
#include "builders/opening_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "model/errors.h"
#include "model/section_file.h"

using namespace qav;

namespace {

// One builder on one shape ("typical 3"), run as "Gen Section" runs it.
struct Builder {
    BoxTexts texts;
    BoxCaptions captions;  // the boxes the shape reads
    std::function<void(SectionModel&, const BoxTexts&)> build;
};

std::map<std::string, Builder> everyBuilder() {
    std::map<std::string, Builder> all;
    for (int s = 0; s < TYPICAL_SHAPES; ++s) {
        BoxTexts t = typicalDialogTexts();
        typicalShapeChange(t, s);
        all["typical " + std::to_string(s)] = {
            t, typicalCaptions(s),
            [s](SectionModel& m, const BoxTexts& b) { buildTypicalSection(m, s, b); }};
    }
    for (int s = 0; s < STEEL_SHAPES; ++s) {
        BoxTexts t = steelDialogTexts();
        steelShapeChange(t, s);
        all["steel " + std::to_string(s)] = {
            t, steelCaptions(s),
            [s](SectionModel& m, const BoxTexts& b) { buildSteelSection(m, s, b); }};
    }
    for (int s = 0; s < COMPOSITE_TYPES; ++s)
        all["composite " + std::to_string(s)] = {compositeDialogTexts(), compositeCaptions(),
                                                 [s](SectionModel& m, const BoxTexts& b) {
                                                     CompositeParams p;
                                                     INPUT_DATA(p, s, b);
                                                     buildCompositeSection(m, p);
                                                 }};
    for (int s = 0; s < OPENING_SHAPES; ++s)
        all["opening " + std::to_string(s)] = {
            openingDialogTexts(), openingCaptions(s),
            [s](SectionModel& m, const BoxTexts& b) { buildOpening(m, s, b); }};
    return all;
}

std::vector<std::string> saved(const SectionModel& m) {
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    return lines;
}

// The section file's lines after the build, or the message the build was refused with.
std::vector<std::string> outcome(const Builder& b, const BoxTexts& texts, SectionModel& m) {
    try {
        b.build(m, texts);
    } catch (const std::runtime_error& e) {
        return {e.what()};
    }
    return saved(m);
}

}  // namespace

TEST(BuilderBoxes, ALetterInAnyBoxNamesTheBoxAndLeavesTheSection) {
    const auto builders = everyBuilder();
    // An outline with bars, a steel polygon and an opening.
    SectionModel start;
    for (const char* b : {"typical 0", "steel 3", "opening 1"})
        builders.at(b).build(start, builders.at(b).texts);
    for (const auto& [name, b] : builders) {
        int refused = 0;
        for (const auto& [box, caption] : b.captions) {
            SectionModel m = start;
            BoxTexts texts = b.texts;
            texts.at(box) = "abc";
            const auto got = outcome(b, texts, m);
            if (got.size() > 1) continue;  // a composite type that does not read this box
            ++refused;
            EXPECT_TRUE(got[0] == caption + ": 'abc' is not a valid floating point value" ||
                        got[0] == caption + ": 'abc' is not a valid integer value")
                << name << " " << box << ": " << got[0];
            EXPECT_EQ(saved(m), saved(start)) << name << " " << box;
        }
        // Every box a shape reads is one the user sees; composite types read a subset of theirs.
        EXPECT_TRUE(refused == static_cast<int>(b.captions.size()) ||
                    (name[0] == 'c' && refused > 0))
            << name;
        SectionModel m = start;
        EXPECT_GT(outcome(b, b.texts, m).size(), 1u) << name << ": the defaults build";
    }
}

TEST(BuilderBoxes, ValuesOutsideTheirRangeAreRefusedNamingTheBoxAndTheRange) {
    struct Case {
        const char* builder;
        std::map<std::string, std::string> set;
        std::string message;  // empty: built (an end of the range)
    };
    const std::string rows = " stay clear of the middle of the section (it is ";
    const Case cases[] = {
        {"typical 0",
         {{"Edit3", "1e6"}},
         "Rebar Distance d1(mm) must be at least 0 and less than 400 mm, half of Section Dim B (it "
         "is 1000000)."},
        {"typical 0",
         {{"Edit6", "71"}},
         "X-Dir Rebar Diameter must be at least 0 and at most 70 mm, twice Rebar Distance d1(mm) "
         "(it is 71)."},
        {"typical 0", {{"Edit6", "70"}, {"Edit11", "70"}}, ""},
        {"typical 0",
         {{"Edit4", "20"}},
         "Row Spacer must be greater than 0 and less than 24.4737 mm, so that 20 rows of X-Dir "
         "Rebar" +
             rows + "25)."},
        {"typical 0",
         {{"Edit7", "2"}, {"Edit12", "0"}},
         "Row Spacer must be greater than 0 and less than 365 mm, so that 2 rows of Y-Dir Rebar" +
             rows + "0)."},
        {"typical 3",
         {{"KEdit3", "500"}},
         "Flange thickness(T) must be greater than 0 and less than 500 mm, half of Overall "
         "depth(D) (it is 500)."},
        {"typical 9",
         {{"KEdit4", "1800"}},
         "Flange thick Top(Tt) must be greater than 0 and less than 1800 mm, Overall depth(D) less "
         "Flange thick "
         "Bot(Tb) (it is 1800)."},
        // Within the box's range, but beyond the corner radii (100 mm) the cover line's arcs
        // turn inside out: the builder refuses what the mesher would.
        {"typical 14", {{"Edit3", "100"}, {"Edit14", "0"}}, ""},
        {"typical 14",
         {{"Edit3", "499.9"}, {"Edit14", "0"}},
         "Rebar Distance d1(mm) 499.9 leaves the cover line outside this shape's outline: The "
         "cover line crosses itself between sides 23 and 30. Use a smaller cover distance."},
        {"composite 0",
         {{"Edit17", "400"}},
         "Cover Thk must be at least 0 and less than 400 mm, half of Sec Height (it is 400)."},
        {"composite 1",
         {{"Edit3", "14"}},
         "Spacer must be greater than 0 and less than 28.0769 mm, so that 14 rows of X-Dir Rebar" +
             rows + "30)."},
        {"composite 3",
         {{"Edit10", "60"}},
         "Steel Section 2 Web Thick must be greater than 0 and less than 10 mm, the clear depth "
         "between the "
         "flanges of Steel Section 1 (it is 20)."},
        {"composite 3", {{"Edit9", "560"}}, ""},
        {"opening 0",
         {{"KEdit3", "999999"}},
         "Location X(mm) must lie between -999800 and 999800 mm, so that the opening stays within "
         "1000000 mm of "
         "the origin (it is 999999)."},
    };
    const auto builders = everyBuilder();
    for (const Case& c : cases) {
        const Builder& b = builders.at(c.builder);
        BoxTexts texts = b.texts;
        for (const auto& [box, text] : c.set) texts.at(box) = text;
        SectionModel m;
        const auto got = outcome(b, texts, m);
        if (c.message.empty())
            EXPECT_GT(got.size(), 1u) << c.builder << ": " << got[0];
        else
            EXPECT_EQ(got, std::vector<std::string>{c.message}) << c.builder;
    }
}
