// The command boundary: whatever a command throws is shown once as an error, after the messages
// the command raised before it, and never ends the program.
#include "app/command_boundary.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "model/errors.h"
#include "scripted_prompts.h"

using namespace qav;

TEST(CommandBoundary, EveryErrorIsShownWithItsTextAfterTheMessagesBeforeIt) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        QString shown;
    };
    const Case cases[] = {
        {"conversion", [] { throw ConversionError("'x' is not a valid floating point value"); },
         "'x' is not a valid floating point value"},
        {"file", [] { throw FileError("Cannot open file \"a.sec\"."); },
         "Cannot open file \"a.sec\"."},
        {"input", [] { throw InputError("No fibres."); }, "No fibres."},
        {"numeric", [] { throw NumericError("Singular matrix."); }, "Singular matrix."},
        {"other", [] { throw std::out_of_range("index 9"); }, "index 9"},
        {"memory", [] { throw std::bad_alloc(); }, "Out of memory: the command was stopped."},
        {"no words", [] { throw std::runtime_error(""); }, "The command was stopped by an error."},
    };
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        UserPrompts* p = &prompts;
        CommandBoundary boundary(p);
        boundary.run([&] {
            boundary.messages().message("before");
            boundary.messages().message("before");
            c.fail();
        });
        EXPECT_EQ(prompts.informations, QStringList{"before\n\n(2 times)"}) << c.name;
        EXPECT_EQ(prompts.errors, QStringList{c.shown}) << c.name;
    }
}

TEST(CommandBoundary, AnInnerCommandFailsAsPartOfTheOuterOne) {
    ScriptedPrompts prompts;
    UserPrompts* p = &prompts;
    CommandBoundary boundary(p);
    bool after = false;
    boundary.run([&] {
        boundary.run([] { throw InputError("inner"); });
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(prompts.errors, QStringList{"inner"});
}
