#include "app/command_boundary.h"

#include <QString>
#include <new>
#include <stdexcept>

#include "app/user_prompts.h"
#include "model/feedback.h"

namespace qav {

QString CommandBoundary::messageText(const MessageLog::Entry& e) {
    const QString text = QString::fromStdString(e.text);
    if (e.count <= 1) return text;
    return QStringLiteral("%1\n\n(%2 times)").arg(text).arg(e.count);
}

QString CommandBoundary::errorText(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("Out of memory: the command was stopped.");
    const QString text = QString::fromStdString(e.what());
    // An error without words must still be seen, not taken for success.
    return text.isEmpty() ? QStringLiteral("The command was stopped by an error.") : text;
}

void CommandBoundary::Sink::message(const std::string& text) {
    b_.log_.message(text);
    if (b_.depth_ == 0) b_.flush();
}

void CommandBoundary::flush() {
    const auto entries = log_.entries();
    log_.clear();
    // What one command says comes in one box, a paragraph each, not a box after a box.
    QString text;
    for (const auto& e : entries) text += (text.isEmpty() ? "" : "\n\n") + messageText(e);
    if (!text.isEmpty()) prompts_->information(text);
}

void CommandBoundary::run(const std::function<void()>& body) {
    if (depth_ > 0) {
        body();
        return;
    }
    struct Depth {
        int& d;
        explicit Depth(int& x) : d(x) { ++d; }
        ~Depth() { --d; }
    };
    QString failure;
    {
        Depth guard(depth_);
        try {
            if (beforeCommand) beforeCommand();
            body();
        } catch (const RunCancelled&) {
            // The user stopped the run; its results were never swapped in, nothing to say.
        } catch (const std::exception& e) {
            failure = errorText(e);
        }
    }
    // Messages raised before a failure are still worth seeing, before the error itself.
    flush();
    if (!failure.isEmpty()) prompts_->error(failure);
    if (afterCommand) afterCommand();
}

}  // namespace qav
