#pragma once
// A set of slot numbers that finds the next member at or after a slot in a few word steps,
// however sparse the members are. The triangulator keeps its open triangles here so that a
// point's scan visits them in slot order without walking past the finished ones.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace qav {

class SlotSet {
public:
    static constexpr int NONE = -1;

    // Makes room for slots 0..n-1 (never shrinks; members stay).
    void reserve(int n) {
        const std::size_t words0 = (static_cast<std::size_t>(n > 0 ? n : 1) + 63) / 64;
        if (!levels_.empty() && levels_[0].size() >= words0) return;
        std::vector<uint64_t> base;
        if (!levels_.empty()) base = std::move(levels_[0]);
        base.resize(words0, 0);
        levels_.clear();
        levels_.push_back(std::move(base));
        // Each summary word holds one bit per non-empty word of the level below.
        while (levels_.back().size() > 1) {
            const std::vector<uint64_t>& below = levels_.back();
            std::vector<uint64_t> up((below.size() + 63) / 64, 0);
            for (std::size_t i = 0; i < below.size(); ++i)
                if (below[i] != 0) up[i / 64] |= uint64_t{1} << (i % 64);
            levels_.push_back(std::move(up));
        }
    }

    void insert(int slot) {
        std::size_t s = static_cast<std::size_t>(slot);
        if (s >= capacity()) reserve(static_cast<int>(s + 1) * 2);
        for (auto& words : levels_) {
            const bool wasEmpty = words[s / 64] == 0;
            words[s / 64] |= uint64_t{1} << (s % 64);
            if (!wasEmpty) return;
            s /= 64;
        }
    }

    void erase(int slot) {
        std::size_t s = static_cast<std::size_t>(slot);
        if (s >= capacity()) return;
        for (auto& words : levels_) {
            words[s / 64] &= ~(uint64_t{1} << (s % 64));
            if (words[s / 64] != 0) return;
            s /= 64;
        }
    }

    bool contains(int slot) const {
        const std::size_t s = static_cast<std::size_t>(slot);
        return s < capacity() && (levels_[0][s / 64] >> (s % 64) & 1) != 0;
    }

    // The smallest member >= slot, or NONE.
    int next(int slot) const {
        if (slot < 0) slot = 0;
        const long long found = nextAt(0, static_cast<std::size_t>(slot));
        return found < 0 ? NONE : static_cast<int>(found);
    }

    void clear() {
        for (auto& words : levels_) std::fill(words.begin(), words.end(), 0);
    }

private:
    std::size_t capacity() const { return levels_.empty() ? 0 : levels_[0].size() * 64; }

    long long nextAt(std::size_t level, std::size_t pos) const {
        const auto& words = levels_[level];
        std::size_t w = pos / 64;
        if (w >= words.size()) return -1;
        const uint64_t here = words[w] & (~uint64_t{0} << (pos % 64));
        if (here != 0) return static_cast<long long>(w * 64 + std::countr_zero(here));
        if (level + 1 < levels_.size()) {
            const long long nw = nextAt(level + 1, w + 1);
            if (nw < 0) return -1;
            const std::size_t u = static_cast<std::size_t>(nw);
            return static_cast<long long>(u * 64 + std::countr_zero(words[u]));
        }
        for (++w; w < words.size(); ++w)
            if (words[w] != 0) return static_cast<long long>(w * 64 + std::countr_zero(words[w]));
        return -1;
    }

    std::vector<std::vector<uint64_t>> levels_;
};

}  // namespace qav
