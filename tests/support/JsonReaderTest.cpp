// The tests' JSON reader must reject what a strict reader elsewhere rejects, or a manifest
// that no other tool can read would pass.
#include <gtest/gtest.h>

#include <stdexcept>

#include "JsonReader.h"

using testing_support::JsonValue;
using testing_support::ParseJson;

TEST(JsonReader, ReadsNestedValuesInOrder) {
    JsonValue value = ParseJson(" {\"a\": [1, -2, true, false, null], \"b\": {\"c\": \"d\"}, \"e\": 18446744073709551615}\n");
    ASSERT_EQ(value.members.size(), 3u);
    EXPECT_EQ(value.members[0].first, "a");
    EXPECT_EQ(value["a"].Size(), 5u);
    EXPECT_EQ(value["a"][1].Integer(), -2);
    EXPECT_TRUE(value["a"][2].Bool());
    EXPECT_FALSE(value["a"][3].Bool());
    EXPECT_EQ(value["a"][4].kind, JsonValue::Kind::Null);
    EXPECT_EQ(value["b"]["c"].String(), "d");
    EXPECT_EQ(value["e"].Unsigned(), 18446744073709551615ull);
    EXPECT_FALSE(value.Has("z"));
    EXPECT_THROW(value["z"], std::runtime_error);
}

TEST(JsonReader, DecodesEscapesToUtf8) {
    EXPECT_EQ(ParseJson("\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"").String(), "\"\\/\b\f\n\r\t");
    EXPECT_EQ(ParseJson("\"\\u0041\\u00e9\\u20ac\"").String(), "A\xc3\xa9\xe2\x82\xac");
    EXPECT_EQ(ParseJson("\"\\ud83d\\ude00\"").String(), "\xf0\x9f\x98\x80");
}

TEST(JsonReader, RejectsWhatIsNotJson) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\":1,}", "{\"a\" 1}", "\"a\nb\"", "\"a\tb\"", "{} x", "'a'", "\"\\x\"",
                            "tru", "{a:1}", "\"\\u00zz\""}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ParseJson(bad), std::runtime_error);
    }
}
