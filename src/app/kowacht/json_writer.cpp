#include "app/kowacht/json_writer.h"

#include "fs/text_case.h"

#include <array>
#include <charconv>

namespace kw::app
{

std::string jsonString(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(bytes.size() + 2);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t start = pos;
        const char32_t c = fs::nextCodePoint(bytes, pos);
        if (c >= 0xDC80 && c <= 0xDCFF && pos == start + 1) {
            const auto byte = static_cast<unsigned>(c - 0xDC00);
            out.append("\\udc").push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 15]);
            continue;
        }
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\b':
            out.append("\\b");
            break;
        case '\f':
            out.append("\\f");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (c < 0x20) {
                out.append("\\u00").push_back(hex[c >> 4]);
                out.push_back(hex[c & 15]);
            } else {
                out.append(bytes.substr(start, pos - start));
            }
        }
    }
    out.push_back('"');
    return out;
}

JsonWriter &JsonWriter::key(std::string_view name)
{
    beforeValue();
    m_out.append(jsonString(name)).append(": ");
    m_afterKey = true;
    return *this;
}

JsonWriter &JsonWriter::beginObject()
{
    open('{');
    return *this;
}

JsonWriter &JsonWriter::endObject()
{
    close('}');
    return *this;
}

JsonWriter &JsonWriter::beginArray()
{
    open('[');
    return *this;
}

JsonWriter &JsonWriter::endArray()
{
    close(']');
    return *this;
}

JsonWriter &JsonWriter::text(std::string_view bytes)
{
    beforeValue();
    m_out.append(jsonString(bytes));
    return *this;
}

JsonWriter &JsonWriter::number(std::uint64_t value)
{
    beforeValue();
    std::array<char, 24> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    m_out.append(digits.data(), end);
    return *this;
}

JsonWriter &JsonWriter::number(std::int64_t value)
{
    beforeValue();
    std::array<char, 24> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    m_out.append(digits.data(), end);
    return *this;
}

JsonWriter &JsonWriter::number(double value)
{
    beforeValue();
    // The shortest digits that read back as the same double, never in exponent form, and
    // with a fraction, so that a reader sees a real number.
    std::array<char, 400> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed).ptr;
    const std::string_view written(digits.data(), static_cast<std::size_t>(end - digits.data()));
    m_out.append(written);
    if (written.find('.') == std::string_view::npos)
        m_out.append(".0");
    return *this;
}

JsonWriter &JsonWriter::boolean(bool value)
{
    beforeValue();
    m_out.append(value ? "true" : "false");
    return *this;
}

JsonWriter &JsonWriter::null()
{
    beforeValue();
    m_out.append("null");
    return *this;
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_empty.empty())
        return;
    if (!m_empty.back())
        m_out.push_back(',');
    m_empty.back() = false;
    newLine(m_empty.size());
}

void JsonWriter::open(char bracket)
{
    beforeValue();
    m_out.push_back(bracket);
    m_empty.push_back(true);
}

void JsonWriter::close(char bracket)
{
    const bool empty = m_empty.back();
    m_empty.pop_back();
    if (!empty)
        newLine(m_empty.size());
    m_out.push_back(bracket);
}

void JsonWriter::newLine(std::size_t depth)
{
    m_out.push_back('\n');
    m_out.append(2 * depth, ' ');
}

} // namespace kw::app
