#pragma once
// Independent pieces of one run (the curves of the PMM surface, blocks of load combinations,
// the curves of a report) on worker threads. Each piece owns its solver and its results, so
// the results do not depend on the number of threads; only the calling thread talks to the
// caller's progress (a GUI progress dialog stays on the GUI thread).
#include <functional>

#include "model/feedback.h"

namespace qav {

// The threads a run uses for a request: 0 means one per core of the machine; at least 1.
int workerThreads(int requested);

// Runs piece(i, progress) for i = 0 .. count - 1 on up to `threads` worker threads (see
// workerThreads). The calling thread reports the mean of the pieces' positions to `progress`
// (which may be null) and passes its cancellation on to the pieces. After every thread has
// ended: RunCancelled when the run was cancelled, else the exception of the lowest-numbered
// piece that threw, if any.
void runPieces(int count, int threads, const std::function<void(int, Progress&)>& piece,
               Progress* progress);

// Messages of one piece, kept to be replayed in piece order once the run is over.
class RecordedMessages : public Messages {
public:
    void message(const std::string& text) override { texts_.push_back(text); }
    void replayTo(Messages& out) const {
        for (const auto& t : texts_) out.message(t);
    }

private:
    std::vector<std::string> texts_;
};

}  // namespace qav
