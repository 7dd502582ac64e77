// Our own small RTF writer for the formatted document: Qt reads and writes rich text in HTML
// and Markdown, but writes no RTF.
#pragma once

#include "results/formatted_document.h"

#include <string>
#include <string_view>

namespace kw::results
{

// An RTF document with one font (`fontName`), black text and one paragraph per paragraph of
// `document`, in its size, bold and underline. "\", "{" and "}" are escaped and every
// character beyond ASCII is written as a Unicode escape, so any path survives; bytes that
// are not UTF-8 become U+FFFD.
std::string toRtf(const FormattedDocument &document, std::string_view fontName);

} // namespace kw::results
