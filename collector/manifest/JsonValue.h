#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A JSON value as manifest/JsonReader.h reads it: null, true or false, a number (kept as written),
// a string (UTF-8), an array or an object (its members in the order of the text).
class JsonValue {
public:
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
    using Member = std::pair<std::string, JsonValue>;

    JsonValue() = default;
    static JsonValue Bool(bool value);
    static JsonValue Number(std::string text);  // the number as written; checked by the reader
    static JsonValue String(std::string utf8);
    static JsonValue Array(std::vector<JsonValue> elements);
    static JsonValue Object(std::vector<Member> members);

    Kind kind() const noexcept { return kind_; }
    bool IsNull() const noexcept { return kind_ == Kind::kNull; }
    bool IsBool() const noexcept { return kind_ == Kind::kBool; }
    bool IsNumber() const noexcept { return kind_ == Kind::kNumber; }
    bool IsString() const noexcept { return kind_ == Kind::kString; }
    bool IsArray() const noexcept { return kind_ == Kind::kArray; }
    bool IsObject() const noexcept { return kind_ == Kind::kObject; }

    // Each access gives nothing (or an empty list) for a value of another kind, so a reader of
    // a document checks the shape it needs in one place.
    std::optional<bool> AsBool() const;
    // A number that is a whole one within the type's range, written without fraction or exponent.
    std::optional<unsigned long long> AsUnsigned() const;
    std::optional<long long> AsInteger() const;
    std::optional<double> AsDouble() const;
    // The number as it stands in the text.
    const std::string& NumberText() const;
    const std::string* AsString() const;  // UTF-8
    const std::vector<JsonValue>& Elements() const;
    const std::vector<Member>& Members() const;  // in the order of the text
    // The member of that name; nullptr when there is none or this is no object.
    const JsonValue* Find(std::string_view name) const;

private:
    Kind kind_ = Kind::kNull;
    bool bool_ = false;
    std::string text_;  // a string's value, a number's text
    std::vector<JsonValue> elements_;
    std::vector<Member> members_;
};
