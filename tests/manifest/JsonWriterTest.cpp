// The manifest's JSON: string escaping, ANSI names made UTF-8, and the writer's layout.
#include <gtest/gtest.h>
#include <windows.h>

#include "JsonReader.h"
#include "manifest/JsonWriter.h"

using testing_support::ParseJson;

TEST(JsonString, QuotesAndBackslashesAreEscaped) {
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("C:\\123456\\NODE"), "\"C:\\\\123456\\\\NODE\"");
    EXPECT_EQ(JsonString("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(JsonString("a/b"), "\"a/b\"");
}

TEST(JsonString, ControlBytesAreEscaped) {
    EXPECT_EQ(JsonString("\b\f\n\r\t"), "\"\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f", 2)), "\"\\u0001\\u001f\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
    EXPECT_EQ(JsonString("\x7f"), "\"\x7f\"");
}

TEST(JsonString, EveryByteValueReadsBackAsTheCodePageCharacter) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    std::string quoted = JsonString(all);
    std::string decoded = ParseJson(quoted).String();
    EXPECT_EQ(decoded, AnsiToUtf8(all));
    EXPECT_EQ(decoded.substr(0, 127), all.substr(0, 127));
}

TEST(JsonString, NonAsciiIsConvertedFromTheAnsiCodePage) {
    // What the system makes of the byte in this code page, as UTF-8.
    wchar_t wide = 0;
    ASSERT_EQ(::MultiByteToWideChar(CP_ACP, 0, "\xe9", 1, &wide, 1), 1);
    char utf8[4] = {};
    int length = ::WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, sizeof utf8, nullptr, nullptr);
    ASSERT_GT(length, 0);
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf" + std::string(utf8, static_cast<size_t>(length)) + "\"");
    if (::GetACP() == 1252) {
        EXPECT_EQ(JsonString("caf\xe9"), "\"caf\xc3\xa9\"");
    }
    std::string all;
    for (int c = 0x80; c < 256; ++c) all += static_cast<char>(c);
    std::string quoted = JsonString(all);
    EXPECT_GT(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, quoted.data(), static_cast<int>(quoted.size()),
                                    nullptr, 0),
              0)
        << "not UTF-8";
}

TEST(JsonWriter, NestedValuesOneMemberPerLine) {
    JsonWriter json;
    json.BeginObject();
    json.Member("name", "x\"y");
    json.Member("count", 3);
    json.Member("big", 5000000000ull);
    json.Member("on", true);
    json.Key("empty");
    json.BeginArray();
    json.EndArray();
    json.Key("list");
    json.BeginArray();
    json.BeginObject();
    json.Member("off", false);
    json.EndObject();
    json.Number(-1);
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(json.Text(),
              "{\n"
              "  \"name\": \"x\\\"y\",\n"
              "  \"count\": 3,\n"
              "  \"big\": 5000000000,\n"
              "  \"on\": true,\n"
              "  \"empty\": [],\n"
              "  \"list\": [\n"
              "    {\n"
              "      \"off\": false\n"
              "    },\n"
              "    -1\n"
              "  ]\n"
              "}");
    auto parsed = ParseJson(json.Text());
    EXPECT_EQ(parsed["list"][0]["off"].Bool(), false);
    EXPECT_EQ(parsed["big"].Unsigned(), 5000000000ull);
}
