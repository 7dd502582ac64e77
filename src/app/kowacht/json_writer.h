// The JSON list written as it is built, two spaces an indent.
//
// Our own, not a JSON library's: the libraries write valid UTF-8 only, and a path may hold
// bytes that are not UTF-8. Such a byte goes out as the escape \udcXX (0x80 … 0xFF as
// U+DC80 … U+DCFF, a lone surrogate, which no UTF-8 can carry), the form Python reads back
// with "surrogateescape".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kw::app
{

class JsonWriter
{
public:
    // Within an object, every value follows its key().
    JsonWriter &key(std::string_view name);
    JsonWriter &beginObject();
    JsonWriter &endObject();
    JsonWriter &beginArray();
    JsonWriter &endArray();
    JsonWriter &text(std::string_view bytes);
    JsonWriter &number(std::uint64_t value);
    JsonWriter &number(std::int64_t value);
    JsonWriter &number(double value);
    JsonWriter &boolean(bool value);
    JsonWriter &null();

    // The document, once every object and array is ended.
    const std::string &document() const { return m_out; }

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void newLine(std::size_t depth);

    std::string m_out;
    std::vector<bool> m_empty; // for each open object or array: nothing in it yet
    bool m_afterKey = false;
};

// `bytes` as a JSON string with its quotes, escaped as above.
std::string jsonString(std::string_view bytes);

} // namespace kw::app
