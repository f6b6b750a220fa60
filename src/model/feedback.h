#pragma once
// The two ways long or chatty core operations talk back to their caller: a message sink for
// messages raised while a run goes on, and a progress interface for long runs.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace qav {

class Messages {
public:
    virtual ~Messages() = default;
    virtual void message(const std::string& text) = 0;
};

// Collects messages in order, counting repeats; the app shows each distinct one once.
class MessageLog : public Messages {
public:
    void message(const std::string& text) override;
    struct Entry {
        std::string text;
        std::size_t count = 0;
    };
    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t total() const;
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};

// Drops every message (for callers that do not care).
class NullMessages : public Messages {
public:
    void message(const std::string&) override {}
};

class Progress {
public:
    virtual ~Progress() = default;
    // position in 0..100
    virtual void setPosition(int percent) = 0;
    virtual bool cancelled() const { return false; }
};

// Thrown out of a run when its progress says cancelled; the run has then changed nothing its
// caller keeps (results are computed into fresh storage and swapped in only at the end).
class RunCancelled : public std::runtime_error {
public:
    RunCancelled() : std::runtime_error("The run was cancelled.") {}
};

class NullProgress : public Progress {
public:
    void setPosition(int) override {}
};

// Reports a run of `total` equal steps as 0..100 on a progress that may be absent, only when the
// percentage moves, so a run of a million steps does not repaint a million times. Reports 0 on
// construction.
class StepProgress {
public:
    StepProgress(Progress* progress, long long total);
    void step();  // one more step is done; throws RunCancelled when the progress says cancelled

private:
    Progress* progress_;
    long long total_;
    long long done_ = 0;
    int last_ = -1;
    void report(int percent);
};

// One run of several: maps its 0..100 onto from..to of the whole.
class PartProgress : public Progress {
public:
    PartProgress(Progress& whole, int from, int to) : whole_(whole), from_(from), to_(to) {}
    void setPosition(int percent) override;
    bool cancelled() const override { return whole_.cancelled(); }

private:
    Progress& whole_;
    int from_, to_;
};

}  // namespace qav
