// Every box of every builder: a typo or a value outside the box's range is refused naming the box
// by its caption, and the section stays exactly as it was.
#include <gtest/gtest.h>

#include <functional>
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

// One builder on one shape, run as "Gen Section" runs it.
struct Builder {
    std::string name;
    BoxTexts texts;
    BoxCaptions captions;  // the boxes the shape reads
    std::function<void(SectionModel&, const BoxTexts&)> build;
};

std::vector<Builder> everyBuilder() {
    std::vector<Builder> all;
    for (int s = 0; s < TYPICAL_SHAPES; ++s) {
        BoxTexts t = typicalDialogTexts();
        typicalShapeChange(t, s);
        all.push_back({"typical " + std::to_string(s), t, typicalCaptions(s),
                       [s](SectionModel& m, const BoxTexts& b) { buildTypicalSection(m, s, b); }});
    }
    for (int s = 0; s < STEEL_SHAPES; ++s) {
        BoxTexts t = steelDialogTexts();
        steelShapeChange(t, s);
        all.push_back({"steel " + std::to_string(s), t, steelCaptions(s),
                       [s](SectionModel& m, const BoxTexts& b) { buildSteelSection(m, s, b); }});
    }
    for (int s = 0; s < COMPOSITE_TYPES; ++s)
        all.push_back({"composite " + std::to_string(s), compositeDialogTexts(), compositeCaptions(),
                       [s](SectionModel& m, const BoxTexts& b) {
                           CompositeParams p;
                           INPUT_DATA(p, s, b);
                           buildCompositeSection(m, p);
                       }});
    for (int s = 0; s < OPENING_SHAPES; ++s)
        all.push_back({"opening " + std::to_string(s), openingDialogTexts(), openingCaptions(s),
                       [s](SectionModel& m, const BoxTexts& b) { buildOpening(m, s, b); }});
    return all;
}

// A section with an outline, bars, a steel polygon and an opening.
SectionModel startingSection() {
    SectionModel m;
    for (const Builder& b : everyBuilder())
        if (b.name == "typical 0" || b.name == "steel 3" || b.name == "opening 1") b.build(m, b.texts);
    return m;
}

std::vector<std::string> saved(const SectionModel& m) {
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    return lines;
}

// Runs the build; returns the message it was refused with, or "(built)".
std::string refusal(const Builder& b, const BoxTexts& texts, SectionModel& m) {
    try {
        b.build(m, texts);
    } catch (const ConversionError& e) {
        return e.what();
    } catch (const InputError& e) {
        return e.what();
    }
    return "(built)";
}

}  // namespace

TEST(BuilderBoxes, ALetterInAnyBoxNamesTheBoxAndLeavesTheSection) {
    const SectionModel start = startingSection();
    for (const Builder& b : everyBuilder()) {
        int refused = 0;
        for (const auto& [box, caption] : b.captions) {
            SectionModel m = start;
            BoxTexts texts = b.texts;
            texts.at(box) = "abc";
            const std::string why = refusal(b, texts, m);
            if (why == "(built)") continue;  // a composite type that does not read this box
            ++refused;
            EXPECT_TRUE(why == caption + ": 'abc' is not a valid floating point value" ||
                        why == caption + ": 'abc' is not a valid integer value")
                << b.name << " " << box << ": " << why;
            EXPECT_EQ(saved(m), saved(start)) << b.name << " " << box;
            EXPECT_EQ(m.NOPEN_SEC, 1) << b.name << " " << box;
        }
        // Every box the shape reads is one the user can mend; composite types read a subset.
        if (b.name.rfind("composite", 0) != 0) {
            EXPECT_EQ(refused, static_cast<int>(b.captions.size())) << b.name;
        }
        EXPECT_GT(refused, 0) << b.name;
        SectionModel m = start;
        EXPECT_EQ(refusal(b, b.texts, m), "(built)") << b.name << ": the defaults build";
    }
}

TEST(BuilderBoxes, ValuesOutsideTheirRangeAreRefusedNamingTheBoxAndTheRange) {
    struct Case {
        const char* builder;
        std::vector<std::pair<std::string, std::string>> set;
        std::string message;  // empty: the build succeeds (the range's own end)
    };
    const Case cases[] = {
        {"typical 0", {{"Edit3", "1e6"}},
         "Rebar Distance d1(mm) must be at least 0 and less than 400 mm, half of Section Dim B (it is 1000000)."},
        {"typical 0", {{"Edit3", "-1"}},
         "Rebar Distance d1(mm) must be at least 0 and less than 400 mm, half of Section Dim B (it is -1)."},
        {"typical 0", {{"Edit6", "71"}},
         "X-Dir Rebar Diameter must be at least 0 and at most 70 mm, twice Rebar Distance d1(mm) (it is 71)."},
        {"typical 0", {{"Edit6", "70"}, {"Edit11", "70"}}, ""},
        {"typical 0", {{"Edit4", "20"}},
         "Row Spacer must be greater than 0 and less than 24.4737 mm, so that 20 rows of X-Dir Rebar stay clear "
         "of the middle of the section (it is 25)."},
        {"typical 0", {{"Edit7", "2"}, {"Edit12", "0"}},
         "Row Spacer must be greater than 0 and less than 365 mm, so that 2 rows of Y-Dir Rebar stay clear of the "
         "middle of the section (it is 0)."},
        {"typical 1", {{"Edit8", "3"}, {"Edit7", "19"}}, ""},
        {"typical 2", {{"Edit4", "16"}, {"Edit12", "25"}},
         "Row Spacer must be greater than 0 and less than 24.3333 mm, so that 16 rows of Main Rebar stay clear of "
         "the middle of the section (it is 25)."},
        {"typical 3", {{"KEdit3", "500"}},
         "Flange thickness(T) must be greater than 0 and less than 500 mm, half of Overall depth(D) (it is 500)."},
        {"typical 3", {{"Edit3", "100"}},
         "Rebar Distance d1(mm) must be at least 0 and less than 100 mm, half of Flange thickness(T) (it is 100)."},
        {"typical 4", {{"KEdit4", "1000"}},
         "Web thickness(t) must be greater than 0 and less than 1000 mm, the Flange width(W) (it is 1000)."},
        {"typical 9", {{"KEdit4", "1800"}},
         "Flange thick Top(Tt) must be greater than 0 and less than 1800 mm, Overall depth(D) less Flange thick "
         "Bot(Tb) (it is 1800)."},
        {"typical 13", {{"KEdit2", "1200"}},
         "Width(W) must be greater than 0 and less than 1200 mm, the Depth(D) (it is 1200)."},
        {"typical 14", {{"Edit14", "71"}},
         "Typical Rebar Diameter must be at least 0 and at most 70 mm, twice Rebar Distance d1(mm) (it is 71)."},
        {"typical 14", {{"Edit3", "499.9"}, {"Edit14", "0"}}, ""},
        {"steel 5", {{"KEdit4", "500"}},
         "Web thickness(t) must be greater than 0 and less than 500 mm, the Flange width(W) (it is 500)."},
        {"composite 0", {{"Edit17", "400"}},
         "Cover Thk must be at least 0 and less than 400 mm, half of Sec Height (it is 400)."},
        {"composite 0", {{"Edit20", "80"}},
         "Corner Rebar Dia must be at least 0 and at most 70 mm, twice Cover Thk (it is 80)."},
        {"composite 1", {{"Edit3", "14"}},
         "Spacer must be greater than 0 and less than 28.0769 mm, so that 14 rows of X-Dir Rebar stay clear of "
         "the middle of the section (it is 30)."},
        {"composite 3", {{"Edit10", "60"}},
         "Steel Section 2 Web Thick must be greater than 0 and less than 10 mm, the clear depth between the "
         "flanges of Steel Section 1 (it is 20)."},
        {"composite 3", {{"Edit9", "560"}, {"Edit13", "560"}},
         "Steel Section 1 Sec Width must be greater than 0 and less than 550 mm, the clear depth between the "
         "flanges of Steel Section 2, unless Steel Section 2 Sec Width fits between those of Steel Section 1 "
         "(it is 560)."},
        {"composite 3", {{"Edit9", "560"}}, ""},
        {"composite 9", {{"Edit11", "200"}},
         "Steel Section 1 Flange Thick must be greater than 0 and less than 200 mm, half of Steel Section 1 Sec "
         "Width (it is 200)."},
        {"opening 0", {{"KEdit3", "999999"}},
         "Location X(mm) must lie between -999800 and 999800 mm, so that the opening stays within 1000000 mm of "
         "the origin (it is 999999)."},
    };
    const SectionModel start = startingSection();
    const std::vector<Builder> builders = everyBuilder();
    for (const Case& c : cases) {
        const Builder* b = nullptr;
        for (const Builder& each : builders)
            if (each.name == c.builder) b = &each;
        ASSERT_NE(b, nullptr) << c.builder;
        BoxTexts texts = b->texts;
        for (const auto& [box, text] : c.set) texts.at(box) = text;
        SectionModel m = start;
        const std::string why = refusal(*b, texts, m);
        if (c.message.empty()) {
            EXPECT_EQ(why, "(built)") << c.builder << " " << c.set.front().first;
            continue;
        }
        EXPECT_EQ(why, c.message) << c.builder;
        EXPECT_EQ(saved(m), saved(start)) << c.builder << ": nothing changed";
    }
}
