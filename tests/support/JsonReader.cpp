#include "JsonReader.h"

#include <cctype>
#include <stdexcept>

namespace testing_support {

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value();
        SkipBlanks();
        if (at_ != text_.size()) Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
    }

    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    char Peek() {
        SkipBlanks();
        if (at_ >= text_.size()) Fail("unexpected end");
        return text_[at_];
    }

    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++at_;
    }

    bool Literal(const char* word) {
        size_t length = std::char_traits<char>::length(word);
        if (text_.compare(at_, length, word) != 0) return false;
        at_ += length;
        return true;
    }

    JsonValue Value() {
        JsonValue value;
        char c = Peek();
        if (c == '{') {
            value.kind = JsonValue::Kind::Object;
            ++at_;
            if (Peek() == '}') {
                ++at_;
                return value;
            }
            for (;;) {
                if (Peek() != '"') Fail("expected a member name");
                std::string name = StringBody();
                Expect(':');
                value.members.emplace_back(std::move(name), Value());
                if (Peek() == ',') {
                    ++at_;
                    continue;
                }
                Expect('}');
                return value;
            }
        }
        if (c == '[') {
            value.kind = JsonValue::Kind::Array;
            ++at_;
            if (Peek() == ']') {
                ++at_;
                return value;
            }
            for (;;) {
                value.elements.push_back(Value());
                if (Peek() == ',') {
                    ++at_;
                    continue;
                }
                Expect(']');
                return value;
            }
        }
        if (c == '"') {
            value.kind = JsonValue::Kind::String;
            value.text = StringBody();
            return value;
        }
        for (bool truth : {true, false}) {
            if (Literal(truth ? "true" : "false")) {
                value.kind = JsonValue::Kind::Bool;
                value.boolean = truth;
                return value;
            }
        }
        if (Literal("null")) return value;
        value.kind = JsonValue::Kind::Number;
        size_t start = at_;
        if (text_[at_] == '-') ++at_;
        while (at_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.' ||
                                      text_[at_] == 'e' || text_[at_] == 'E' || text_[at_] == '+' || text_[at_] == '-'))
            ++at_;
        value.text = text_.substr(start, at_ - start);
        if (value.text.empty() || value.text == "-") Fail("expected a value");
        return value;
    }

    unsigned Hex4() {
        if (at_ + 4 > text_.size()) Fail("short \\u escape");
        for (size_t i = at_; i < at_ + 4; ++i)
            if (!std::isxdigit(static_cast<unsigned char>(text_[i]))) Fail("bad \\u escape");
        unsigned code = static_cast<unsigned>(std::stoul(text_.substr(at_, 4), nullptr, 16));
        at_ += 4;
        return code;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xc0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xe0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        }
    }

    std::string StringBody() {
        Expect('"');
        std::string out;
        for (;;) {
            if (at_ >= text_.size()) Fail("unterminated string");
            unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return out;
            if (c < 0x20) Fail("raw control byte in a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at_ >= text_.size()) Fail("unterminated escape");
            char escaped = text_[at_++];
            switch (escaped) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = Hex4();
                    if (code >= 0xd800 && code < 0xdc00 && Literal("\\u")) code = 0x10000 + ((code - 0xd800) << 10) + (Hex4() - 0xdc00);
                    AppendUtf8(out, code);
                    break;
                }
                default: Fail("unknown escape");
            }
        }
    }

    const std::string& text_;
    size_t at_ = 0;
};

const JsonValue& Need(const JsonValue& value, JsonValue::Kind kind, const char* what) {
    if (value.kind != kind) throw std::runtime_error(std::string("JSON value is not ") + what);
    return value;
}

}  // namespace

bool JsonValue::Has(const std::string& name) const {
    for (const auto& member : members)
        if (member.first == name) return true;
    return false;
}

const JsonValue& JsonValue::operator[](const std::string& name) const {
    Need(*this, Kind::Object, "an object");
    for (const auto& member : members)
        if (member.first == name) return member.second;
    throw std::runtime_error("JSON object has no member " + name);
}

const JsonValue& JsonValue::operator[](size_t index) const {
    Need(*this, Kind::Array, "an array");
    if (index >= elements.size()) throw std::runtime_error("JSON array index out of range");
    return elements[index];
}

size_t JsonValue::Size() const { return kind == Kind::Object ? members.size() : Need(*this, Kind::Array, "an array").elements.size(); }

long long JsonValue::Integer() const { return std::stoll(Need(*this, Kind::Number, "a number").text); }

unsigned long long JsonValue::Unsigned() const { return std::stoull(Need(*this, Kind::Number, "a number").text); }

const std::string& JsonValue::String() const { return Need(*this, Kind::String, "a string").text; }

bool JsonValue::Bool() const { return Need(*this, Kind::Bool, "a boolean").boolean; }

JsonValue ParseJson(const std::string& text) { return Parser(text).Document(); }

}  // namespace testing_support
