#include "app/command_boundary.h"

#include <QString>
#include <new>
#include <stdexcept>

#include "app/user_prompts.h"
#include "model/errors.h"

namespace qav {

QString CommandBoundary::messageText(const MessageLog::Entry& e) {
    const QString text = QString::fromStdString(e.text);
    if (e.count <= 1) return text;
    return QStringLiteral("%1\n\n(%2 times)").arg(text).arg(e.count);
}

QString CommandBoundary::errorText(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return QStringLiteral("Out of memory: the command was stopped.");
    return QString::fromStdString(e.what());
}

void CommandBoundary::Sink::message(const std::string& text) {
    b_.log_.message(text);
    if (b_.depth_ == 0) b_.flush();
}

void CommandBoundary::flush() {
    const auto entries = log_.entries();
    log_.clear();
    for (const auto& e : entries) prompts_->information(messageText(e));
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
        } catch (const ConversionError& e) {
            failure = QString::fromStdString(e.what());
        } catch (const FileError& e) {
            failure = QString::fromStdString(e.what());
        } catch (const InputError& e) {
            failure = QString::fromStdString(e.what());
        } catch (const NumericError& e) {
            failure = QString::fromStdString(e.what());
        } catch (const std::exception& e) {
            failure = errorText(e);
        }
        try {
            if (afterCommand) afterCommand();
        } catch (const std::exception& e) {
            if (failure.isEmpty()) failure = errorText(e);
        }
    }
    // Messages raised before a failure are still worth seeing, before the error itself.
    flush();
    if (!failure.isEmpty()) prompts_->error(failure);
}

}  // namespace qav
