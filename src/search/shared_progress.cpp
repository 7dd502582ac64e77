#include "search/shared_progress.h"

namespace kw::search
{
namespace
{

// Counts of files and folders stay far below 2^60; the kind takes the top bits.
constexpr int kValueBits = 60;
constexpr std::uint64_t kValueMask = (std::uint64_t {1} << kValueBits) - 1;

} // namespace

void SharedProgress::store(ProgressStatus::Kind kind, std::uint64_t value)
{
    m_word.store((static_cast<std::uint64_t>(kind) << kValueBits) | (value & kValueMask), std::memory_order_release);
}

void SharedProgress::reset()
{
    m_total.store(0, std::memory_order_relaxed);
    m_word.store(0, std::memory_order_release);
}

ProgressStatus SharedProgress::unpack(std::uint64_t word) const
{
    return {static_cast<ProgressStatus::Kind>(word >> kValueBits), word & kValueMask,
        m_total.load(std::memory_order_relaxed)};
}

} // namespace kw::search
