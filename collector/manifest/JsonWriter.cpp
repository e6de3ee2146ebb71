#include "manifest/JsonWriter.h"

#include <windows.h>

#include <cstdio>

#include "common/win32/Utf8Text.h"

std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int length = static_cast<int>(ansi.size());
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wideLength);
    return win32::Utf8Text(wide);
}

std::string JsonString(const std::string& ansi) {
    std::string quoted = "\"";
    for (char c : AnsiToUtf8(ansi)) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\b': quoted += "\\b"; break;
            case '\f': quoted += "\\f"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8] = {};
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    quoted += escaped;
                } else {
                    quoted += c;
                }
        }
    }
    quoted += '"';
    return quoted;
}

void JsonWriter::NewLine() {
    text_ += '\n';
    text_.append(empty_.size() * 2, ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (empty_.empty()) return;
    if (!empty_.back()) text_ += ',';
    empty_.back() = false;
    NewLine();
}

void JsonWriter::Key(const char* name) {
    BeforeValue();
    text_ += JsonString(name);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    empty_.push_back(true);
}

void JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    empty_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    const bool wasEmpty = empty_.back();
    empty_.pop_back();
    if (!wasEmpty) NewLine();
    text_ += bracket;
}

void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::String(const std::string& ansi) {
    BeforeValue();
    text_ += JsonString(filter_ ? filter_(ansi) : ansi);
}

void JsonWriter::Number(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Unsigned(unsigned long long value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}
