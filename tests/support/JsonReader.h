#pragma once
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A JSON value read back for checking: strict enough to reject what a JSON reader elsewhere
// would reject (raw control bytes in strings, trailing commas, text after the value).
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a string's UTF-8 content, or a number as written
    std::vector<JsonValue> elements;
    std::vector<std::pair<std::string, JsonValue>> members;  // in the order written

    bool Has(const std::string& name) const;
    // The member of that name; throws when it is missing or this is no object.
    const JsonValue& operator[](const std::string& name) const;
    const JsonValue& operator[](size_t index) const;
    size_t Size() const;
    long long Integer() const;
    unsigned long long Unsigned() const;
    const std::string& String() const;
    bool Bool() const;
};

// Throws std::runtime_error naming the offset of the first fault.
JsonValue ParseJson(const std::string& text);

}  // namespace testing_support
