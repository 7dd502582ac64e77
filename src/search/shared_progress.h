// The status of a running search as another thread reads it, to draw it at its own pace.
#pragma once

#include "search/texts.h"

#include <atomic>
#include <cstdint>

namespace kw::search
{

// The kind and its count packed into one atomic word, so that a reader never pairs one
// phase's kind with another's count. The total (the candidates, while comparing) is stored
// before the word and read after it: it is never older than the word read.
class SharedProgress
{
public:
    void store(ProgressStatus::Kind kind, std::uint64_t value);
    void storeTotal(std::uint64_t total) { m_total.store(total, std::memory_order_relaxed); }
    void reset();

    // A snapshot to hand on; 0 while nothing was stored.
    std::uint64_t word() const { return m_word.load(std::memory_order_acquire); }
    ProgressStatus unpack(std::uint64_t word) const;
    ProgressStatus load() const { return unpack(word()); }

private:
    std::atomic<std::uint64_t> m_word {0};
    std::atomic<std::uint64_t> m_total {0};
};

} // namespace kw::search
