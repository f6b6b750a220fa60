#include "analysis/parallel_runs.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qav {

namespace {

// A piece's progress on a worker thread: positions are stored for the calling thread to read.
class PieceProgress : public Progress {
public:
    PieceProgress(const std::atomic<bool>& cancel, std::condition_variable& moved)
        : cancel_(cancel), moved_(moved) {}
    void setPosition(int percent) override {
        position.store(percent, std::memory_order_relaxed);
        moved_.notify_one();
    }
    bool cancelled() const override { return cancel_.load(std::memory_order_relaxed); }
    std::atomic<int> position{0};

private:
    const std::atomic<bool>& cancel_;
    std::condition_variable& moved_;
};

// A piece's progress when the pieces run one after the other on the calling thread.
class InlineProgress : public Progress {
public:
    InlineProgress(Progress* whole, int index, int count)
        : whole_(whole), index_(index), count_(count) {}
    void setPosition(int percent) override {
        if (whole_ != nullptr) whole_->setPosition((index_ * 100 + percent) / count_);
    }
    bool cancelled() const override { return whole_ != nullptr && whole_->cancelled(); }

private:
    Progress* whole_;
    int index_, count_;
};

// The pieces of a run on a pool of threads: each worker takes the next piece until none is left,
// while the calling thread reports their mean progress and passes the user's cancel on.
class PieceRun {
public:
    PieceRun(int count, const std::function<void(int, Progress&)>& piece)
        : count_(count), piece_(piece), errors_(static_cast<std::size_t>(count)) {
        for (int i = 0; i < count; ++i)
            parts_.push_back(std::make_unique<PieceProgress>(cancel_, done_));
    }
    // A worker's loop.
    void work() {
        for (;;) {
            const int i = next_.fetch_add(1);
            if (i >= count_) return;
            if (!cancel_.load()) {
                try {
                    piece_(i, *parts_[static_cast<std::size_t>(i)]);
                } catch (...) {
                    errors_[static_cast<std::size_t>(i)] = std::current_exception();
                }
            }
            parts_[static_cast<std::size_t>(i)]->setPosition(100);
            std::lock_guard<std::mutex> lock(mutex_);
            ++finished_;
            done_.notify_one();
        }
    }
    // Until every piece has ended: their mean position to progress, its cancel to the pieces.
    void watch(Progress* progress) {
        int last = 0;
        std::unique_lock<std::mutex> lock(mutex_);
        while (finished_ < count_) {
            done_.wait_for(lock, std::chrono::milliseconds(20));
            lock.unlock();
            if (progress != nullptr) {
                long long sum = 0;
                for (const auto& p : parts_) sum += p->position.load(std::memory_order_relaxed);
                const int position = static_cast<int>(sum / count_);
                if (position != last) progress->setPosition(position);
                last = position;
                if (progress->cancelled()) cancel_.store(true);
            }
            lock.lock();
        }
    }
    // After the workers have joined: the cancel, or the first piece's error, is thrown.
    void finish(Progress* progress) {
        if (progress != nullptr && progress->cancelled()) cancel_.store(true);
        if (cancel_.load()) throw RunCancelled();
        for (const auto& e : errors_)
            if (e) std::rethrow_exception(e);
    }

private:
    int count_;
    const std::function<void(int, Progress&)>& piece_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> next_{0};
    std::mutex mutex_;
    std::condition_variable done_;  // a piece moved or ended
    int finished_ = 0;
    std::vector<std::unique_ptr<PieceProgress>> parts_;
    std::vector<std::exception_ptr> errors_;
};

}  // namespace

int workerThreads(int requested) {
    if (requested > 0) return requested;
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

void runPieces(int count, int threads, const std::function<void(int, Progress&)>& piece,
               Progress* progress) {
    if (count <= 0) return;
    const int n = std::min(workerThreads(threads), count);
    if (n == 1) {
        for (int i = 0; i < count; ++i) {
            InlineProgress part(progress, i, count);
            piece(i, part);
        }
        return;
    }

    if (progress != nullptr && progress->cancelled()) throw RunCancelled();
    PieceRun run(count, piece);
    if (progress != nullptr) progress->setPosition(0);
    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(n));
    for (int t = 0; t < n; ++t) pool.emplace_back([&run] { run.work(); });
    run.watch(progress);
    for (auto& t : pool) t.join();
    run.finish(progress);
}

}  // namespace qav
