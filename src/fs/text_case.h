// Letter case of names and paths, beyond ASCII, without a locale set for the process.
#pragma once

#include <string>
#include <string_view>

namespace kw::fs
{

// Decodes the code point at `pos` and advances `pos`. A byte that does not start a valid UTF-8
// sequence stands for itself as U+DC80 + byte (as Python's "surrogateescape" does), so names
// that are not UTF-8 still compare and match deterministically, one byte one character.
char32_t nextCodePoint(std::string_view text, std::size_t &pos);

// The lower-case form of one code point (Ä → ä); unchanged when it has none.
char32_t foldCase(char32_t c);

// Whether the lower-case form of `text` begins with that of `prefix`.
bool startsFolded(std::string_view text, std::string_view prefix);

// The whole text decoded and lowered, one element per character.
std::u32string foldedCodePoints(std::string_view text);

// A text held in two pieces and read as one: a folder's path (ending in "/", so that no
// character is split between the pieces) and a name in it.
struct JoinedText {
    std::string_view head;
    std::string_view tail;
};

// Compares the lower-case forms code point by code point: <0, 0 or >0.
int compareFolded(std::string_view a, std::string_view b);
int compareFolded(const JoinedText &a, const JoinedText &b);

// The collation of paths in our lists: lower case first, then the exact bytes, so that the
// order is total and does not depend on the machine's locale.
bool collatesBefore(std::string_view a, std::string_view b);
bool collatesBefore(const JoinedText &a, const JoinedText &b);

} // namespace kw::fs
