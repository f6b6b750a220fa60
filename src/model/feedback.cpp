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

StepProgress::StepProgress(Progress* progress, long long total)
    : progress_(progress), total_(total) {
    report(0);
}

void StepProgress::step() {
    if (progress_ != nullptr && progress_->cancelled()) throw RunCancelled();
    if (done_ < total_) ++done_;
    report(total_ > 0 ? static_cast<int>(done_ * 100 / total_) : 100);
}

void StepProgress::report(int percent) {
    if (progress_ == nullptr || percent == last_) return;
    last_ = percent;
    progress_->setPosition(percent);
}

void PartProgress::setPosition(int percent) {
    const int p = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    whole_.setPosition(from_ + (to_ - from_) * p / 100);
}

}  // namespace qav
