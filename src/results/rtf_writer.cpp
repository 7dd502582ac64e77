#include "results/rtf_writer.h"

#include "fs/text_case.h"

#include <cstdint>

namespace kw::results
{
namespace
{

void appendUnicode(std::string &out, char32_t c)
{
    // \u takes a signed 16-bit number; "?" is what a reader without Unicode shows instead.
    const auto unit = [&out](unsigned value) {
        out += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value))))
            + "?";
    };
    if (c >= 0x10000) {
        const char32_t v = c - 0x10000;
        unit(0xD800 + static_cast<unsigned>(v >> 10));
        unit(0xDC00 + static_cast<unsigned>(v & 0x3FF));
    } else {
        unit(static_cast<unsigned>(c));
    }
}

void appendText(std::string &out, std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = fs::nextCodePoint(text, pos);
        if (c >= 0xDC80 && c <= 0xDCFF) // a byte that is not UTF-8
            c = 0xFFFD;
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '{':
            out += "\\{";
            break;
        case '}':
            out += "\\}";
            break;
        case '\t':
            out += "\\tab ";
            break;
        default:
            if (c >= 0x20 && c < 0x7F)
                out.push_back(static_cast<char>(c));
            else
                appendUnicode(out, c);
        }
    }
}

} // namespace

std::string toRtf(const FormattedDocument &document, std::string_view fontName)
{
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
    appendText(out, fontName);
    out += ";}}\n{\\colortbl ;\\red0\\green0\\blue0;}\n";
    for (const Paragraph &paragraph : document) {
        out += "\\pard\\plain\\f0\\cf1\\fs" + std::to_string(paragraph.pointSize * 2);
        if (paragraph.bold)
            out += "\\b";
        if (paragraph.underline)
            out += "\\ul";
        out.push_back(' ');
        appendText(out, paragraph.text);
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

} // namespace kw::results
