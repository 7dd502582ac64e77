// The case mapping of all of Unicode, as the system knows it: the folding of fs/text_case
// is built on it.
#pragma once

namespace kw::fs
{

// The lower case of one code point, or the code point itself where it has none.
char32_t lowerCase(char32_t c);

} // namespace kw::fs
