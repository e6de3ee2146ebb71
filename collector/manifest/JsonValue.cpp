#include "manifest/JsonValue.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool IsWholeNumber(const std::string& text) { return text.find_first_of(".eE") == std::string::npos; }

}  // namespace

JsonValue JsonValue::Bool(bool value) {
    JsonValue result;
    result.kind_ = Kind::kBool;
    result.bool_ = value;
    return result;
}

JsonValue JsonValue::Number(std::string text) {
    JsonValue result;
    result.kind_ = Kind::kNumber;
    result.text_ = std::move(text);
    return result;
}

JsonValue JsonValue::String(std::string utf8) {
    JsonValue result;
    result.kind_ = Kind::kString;
    result.text_ = std::move(utf8);
    return result;
}

JsonValue JsonValue::Array(std::vector<JsonValue> elements) {
    JsonValue result;
    result.kind_ = Kind::kArray;
    result.elements_ = std::move(elements);
    return result;
}

JsonValue JsonValue::Object(std::vector<Member> members) {
    JsonValue result;
    result.kind_ = Kind::kObject;
    result.members_ = std::move(members);
    return result;
}

std::optional<bool> JsonValue::AsBool() const {
    if (kind_ != Kind::kBool) return std::nullopt;
    return bool_;
}

std::optional<unsigned long long> JsonValue::AsUnsigned() const {
    if (kind_ != Kind::kNumber || !IsWholeNumber(text_) || text_[0] == '-') return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(text_.c_str(), nullptr, 10);
    if (errno == ERANGE) return std::nullopt;
    return value;
}

std::optional<long long> JsonValue::AsInteger() const {
    if (kind_ != Kind::kNumber || !IsWholeNumber(text_)) return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(text_.c_str(), nullptr, 10);
    if (errno == ERANGE) return std::nullopt;
    return value;
}

std::optional<double> JsonValue::AsDouble() const {
    if (kind_ != Kind::kNumber) return std::nullopt;
    // Beyond the double's range a number reads as infinite, which no JSON number is.
    errno = 0;
    const double value = std::strtod(text_.c_str(), nullptr);
    if (errno == ERANGE && (value > 1 || value < -1)) return std::nullopt;
    return value;
}

const std::string& JsonValue::NumberText() const {
    static const std::string kNone;
    return kind_ == Kind::kNumber ? text_ : kNone;
}

const std::string* JsonValue::AsString() const { return kind_ == Kind::kString ? &text_ : nullptr; }

const std::vector<JsonValue>& JsonValue::Elements() const {
    static const std::vector<JsonValue> kNone;
    return kind_ == Kind::kArray ? elements_ : kNone;
}

const std::vector<JsonValue::Member>& JsonValue::Members() const {
    static const std::vector<Member> kNone;
    return kind_ == Kind::kObject ? members_ : kNone;
}

const JsonValue* JsonValue::Find(std::string_view name) const {
    for (const Member& member : Members())
        if (member.first == name) return &member.second;
    return nullptr;
}
