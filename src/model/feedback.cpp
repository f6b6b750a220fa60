#include "model/feedback.h"

namespace qav {

void MessageLog::message(const std::string& text) {
    for (auto& e : entries_) {
        if (e.text == text) {
            ++e.count;
            return;
        }
    }
    entries_.push_back({text, 1});
}

std::size_t MessageLog::total() const {
    std::size_t n = 0;
    for (const auto& e : entries_) n += e.count;
    return n;
}

}  // namespace qav
