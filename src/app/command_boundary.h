#pragma once
// The edge between a command handler and the user: a command runs inside run(), which catches
// the core's errors into one message box and shows the messages the command raised, each
// distinct text once with its count.
#include <QString>
#include <exception>
#include <functional>
#include <string>

#include "model/feedback.h"

namespace qav {

class UserPrompts;

class CommandBoundary {
public:
    explicit CommandBoundary(UserPrompts*& prompts) : prompts_(prompts) {}

    // Runs body. An error stops the command and is shown; what it changed before stays. A
    // command started from inside another runs as part of it (errors and messages go to the
    // outer one).
    void run(const std::function<void()>& body);

    // Runs at the start of every outermost command (the main window reads its grade lists and
    // mesh size box into the model there, so every core operation sees the current values).
    std::function<void()> beforeCommand;
    // Runs at the end of every outermost command, after its messages and error were shown,
    // whether it failed or not (the main window brings the mesh and the results up to date with
    // the section there, whatever the command changed, and updates its unsaved-changes mark).
    std::function<void()> afterCommand;

    // The sink of the running command (outside a command, each message is shown at once).
    Messages& messages() { return sink_; }

    // How a message repeated n times is shown.
    static QString messageText(const MessageLog::Entry& e);
    // How an error that stopped a command is shown.
    static QString errorText(const std::exception& e);

private:
    class Sink : public Messages {
    public:
        explicit Sink(CommandBoundary& b) : b_(b) {}
        void message(const std::string& text) override;

    private:
        CommandBoundary& b_;
    };
    void flush();
    UserPrompts*& prompts_;
    MessageLog log_;
    Sink sink_{*this};
    int depth_ = 0;
};

}  // namespace qav
