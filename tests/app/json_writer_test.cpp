#include "app/kowacht/json_writer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kw::app
{
namespace
{

TEST(JsonWriter, LaysOutNestedValuesTwoSpacesAnIndentAndEmptyOnesOnTheirLine)
{
    JsonWriter json;
    json.beginObject().key("a").beginArray().endArray().key("b").beginObject().endObject();
    json.key("c").beginArray().number(std::uint64_t {1}).beginObject().key("d").null().endObject().endArray();
    json.key("e").boolean(false).endObject();
    EXPECT_EQ(json.document(),
        "{\n  \"a\": [],\n  \"b\": {},\n  \"c\": [\n    1,\n    {\n      \"d\": null\n    }\n  ],\n"
        "  \"e\": false\n}");
}

TEST(JsonWriter, NumbersReadBackAsWritten)
{
    JsonWriter json;
    json.beginArray().number(std::int64_t {-1}).number(std::uint64_t {18446744073709551615u});
    json.number(1796907294.86264).number(2.0).number(-0.5).endArray();
    EXPECT_EQ(json.document(), "[\n  -1,\n  18446744073709551615,\n  1796907294.86264,\n  2.0,\n  -0.5\n]");
}

TEST(JsonWriter, EscapesQuotesControlsAndEveryByteThatIsNotUtf8)
{
    EXPECT_EQ(jsonString("a\"b\\c/ä"), "\"a\\\"b\\\\c/ä\"");
    EXPECT_EQ(jsonString("\n\r\t\b\f\x01\x1f\x7f"), "\"\\n\\r\\t\\b\\f\\u0001\\u001f\x7f\"");
    // A lone continuation byte, a lead byte without its continuation, an overlong form.
    EXPECT_EQ(jsonString("\x80x\xc3y\xc0\xaf"), "\"\\udc80x\\udcc3y\\udcc0\\udcaf\"");
    // A surrogate written out as UTF-8 is no UTF-8 either.
    EXPECT_EQ(jsonString("\xed\xb2\x80"), "\"\\udced\\udcb2\\udc80\"");
    // A character beyond the basic plane stays as it is.
    EXPECT_EQ(jsonString("\xf0\x9f\x98\x80"), "\"\xf0\x9f\x98\x80\"");
}

} // namespace
} // namespace kw::app
