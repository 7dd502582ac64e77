// The hash that picks which stored block a new block of a size group is compared with.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kw::search
{

// SipHash-1-3 under a key drawn at random for every search. A fixed, public hash lets
// someone plant files whose blocks differ but hash alike, and each of them would then be
// compared with every earlier one; against a secret key no such set can be prepared. The
// standard library offers no keyed hash, hence our own few lines.
class BlockHash
{
public:
    BlockHash(); // a fresh random key
    BlockHash(std::uint64_t key0, std::uint64_t key1) : m_key0(key0), m_key1(key1) { }

    std::uint64_t operator()(const char *data, std::size_t length) const;

private:
    std::uint64_t m_key0;
    std::uint64_t m_key1;
};

} // namespace kw::search
