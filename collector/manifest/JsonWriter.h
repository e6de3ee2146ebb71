#pragma once
#include <functional>
#include <string>
#include <vector>

// The collector's texts are ANSI; a JSON file is UTF-8. Characters the code page cannot map
// become the system's replacement character, never dropped bytes.
std::string AnsiToUtf8(const std::string& ansi);

// A JSON string literal of an ANSI text: converted to UTF-8, quotes, backslashes and control
// bytes escaped.
std::string JsonString(const std::string& ansi);

// Builds a JSON text, one member or element per line, indented by nesting; commas and
// line breaks come from the writer, so callers only say what comes next.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next object member; the member's value follows.
    void Key(const char* name);

    void String(const std::string& ansi);
    void Number(long long value);
    void Unsigned(unsigned long long value);
    void Bool(bool value);

    // Key and value in one.
    template <class Value>
    void Member(const char* name, Value value) {
        Key(name);
        Put(value);
    }

    // A member whose value is an array: `element` writes each item's value.
    template <class Items, class Element>
    void ArrayMember(const char* name, const Items& items, Element element) {
        Key(name);
        BeginArray();
        for (const auto& item : items) element(item);
        EndArray();
    }

    // An object of the members given as name, value, name, value...
    template <class... Members>
    void Object(Members... members) {
        BeginObject();
        PutMembers(members...);
        EndObject();
    }

    const std::string& Text() const noexcept { return text_; }
    // Every string value written from now on goes through `filter` first (keys do not).
    void FilterStrings(std::function<std::string(const std::string&)> filter) { filter_ = std::move(filter); }

private:
    void Put(const std::string& value) { String(value); }
    void Put(const char* value) { String(value); }
    void Put(bool value) { Bool(value); }
    void Put(int value) { Number(value); }
    void Put(unsigned value) { Unsigned(value); }
    void Put(unsigned long value) { Unsigned(value); }
    void Put(unsigned long long value) { Unsigned(value); }

    void PutMembers() {}
    template <class Value, class... Rest>
    void PutMembers(const char* name, Value value, Rest... rest) {
        Member(name, value);
        PutMembers(rest...);
    }

    void BeforeValue();
    void Close(char bracket);
    void NewLine();

    std::string text_;
    std::vector<bool> empty_;  // per open object or array: nothing in it yet
    bool afterKey_ = false;
    std::function<std::string(const std::string&)> filter_;
};
