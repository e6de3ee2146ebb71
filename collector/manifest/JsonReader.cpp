#include "manifest/JsonReader.h"

#include <algorithm>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The UTF-8 bytes of a code point (at most U+10FFFF, no surrogate).
void AppendUtf8(std::string& out, unsigned long code) {
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

// The length of the well-formed UTF-8 sequence that starts the text (no overlong forms, no
// surrogates, nothing above U+10FFFF); 0 when it is none.
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;  // the range of the second byte, which rules out the bad forms
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) low = 0xa0;
        if (lead == 0xed) high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xbf) return 0;
    return length;
}

class Reader {
public:
    Reader(std::string_view text, size_t maxDepth) : text_(text), maxDepth_(maxDepth) {}

    JsonParse Document() {
        JsonParse result;
        JsonValue value;
        SkipBlanks();
        if (Value(value, 0)) {
            SkipBlanks();
            if (at_ == text_.size()) {
                result.value = std::move(value);
                return result;
            }
            Fail("text after the value");
        }
        result.error = error_ + " at offset " + std::to_string(errorAt_);
        result.offset = errorAt_;
        return result;
    }

private:
    bool Fail(const char* why) {
        if (error_.empty()) {
            error_ = why;
            errorAt_ = at_;
        }
        return false;
    }

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }

    void SkipBlanks() {
        while (!AtEnd() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) ++at_;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return Fail("an unknown word");
        at_ += word.size();
        return true;
    }

    bool Value(JsonValue& value, size_t depth) {
        switch (Peek()) {
        case '{': return ObjectValue(value, depth + 1);
        case '[': return ArrayValue(value, depth + 1);
        case '"': {
            std::string text;
            if (!StringValue(text)) return false;
            value = JsonValue::String(std::move(text));
            return true;
        }
        case 't':
            value = JsonValue::Bool(true);
            return Literal("true");
        case 'f':
            value = JsonValue::Bool(false);
            return Literal("false");
        case 'n':
            value = JsonValue();
            return Literal("null");
        default:
            if (Peek() == '-' || IsDigit(Peek())) return NumberValue(value);
            return Fail(AtEnd() ? "the text ends where a value should be" : "a value expected");
        }
    }

    bool ObjectValue(JsonValue& value, size_t depth) {
        if (depth > maxDepth_) return Fail("nested too deep");
        ++at_;
        std::vector<JsonValue::Member> members;
        SkipBlanks();
        if (Peek() == '}') {
            ++at_;
            value = JsonValue::Object(std::move(members));
            return true;
        }
        std::vector<size_t> namesAt;
        for (;;) {
            SkipBlanks();
            if (Peek() != '"') return Fail("a member name expected");
            namesAt.push_back(at_);
            std::string name;
            if (!StringValue(name)) return false;
            SkipBlanks();
            if (Peek() != ':') return Fail("':' expected after a member name");
            ++at_;
            SkipBlanks();
            JsonValue member;
            if (!Value(member, depth)) return false;
            members.emplace_back(std::move(name), std::move(member));
            SkipBlanks();
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            if (Peek() != '}') return Fail(AtEnd() ? "the text ends inside an object" : "',' or '}' expected");
            if (!NamesOnce(members, namesAt)) return false;
            ++at_;
            value = JsonValue::Object(std::move(members));
            return true;
        }
    }

    // Sorted, so an object of many members costs no more than its size's logarithm per name;
    // the first name given a second time is placed where it stands that second time.
    bool NamesOnce(const std::vector<JsonValue::Member>& members, const std::vector<size_t>& namesAt) {
        std::vector<size_t> order(members.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&members](size_t a, size_t b) {
            return members[a].first < members[b].first || (members[a].first == members[b].first && a < b);
        });
        size_t repeated = order.size();
        for (size_t i = 1; i < order.size(); ++i)
            if (members[order[i]].first == members[order[i - 1]].first) repeated = std::min(repeated, order[i]);
        if (repeated == order.size()) return true;
        at_ = namesAt[repeated];
        return Fail("a member named a second time");
    }

    bool ArrayValue(JsonValue& value, size_t depth) {
        if (depth > maxDepth_) return Fail("nested too deep");
        ++at_;
        std::vector<JsonValue> elements;
        SkipBlanks();
        if (Peek() == ']') {
            ++at_;
            value = JsonValue::Array(std::move(elements));
            return true;
        }
        for (;;) {
            SkipBlanks();
            JsonValue element;
            if (!Value(element, depth)) return false;
            elements.push_back(std::move(element));
            SkipBlanks();
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            if (Peek() != ']') return Fail(AtEnd() ? "the text ends inside an array" : "',' or ']' expected");
            ++at_;
            value = JsonValue::Array(std::move(elements));
            return true;
        }
    }

    // Four hex digits after "\u".
    bool HexQuad(unsigned long& code) {
        if (text_.size() - at_ < 4) return Fail("four hex digits expected after \\u");
        code = 0;
        for (size_t i = 0; i < 4; ++i) {
            const char c = text_[at_ + i];
            const int digit = IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
            if (digit < 0) return Fail("four hex digits expected after \\u");
            code = code * 16 + static_cast<unsigned long>(digit);
        }
        at_ += 4;
        return true;
    }

    // "\uXXXX", a surrogate pair as two of them; `at_` is on the "u".
    bool UnicodeEscape(std::string& out) {
        const size_t escapeAt = at_ - 1;
        ++at_;
        unsigned long code = 0;
        if (!HexQuad(code)) return false;
        if (code >= 0xdc00 && code <= 0xdfff) {
            at_ = escapeAt;
            return Fail("a low surrogate without a high one");
        }
        if (code >= 0xd800 && code <= 0xdbff) {
            unsigned long low = 0;
            if (text_.substr(at_, 2) != "\\u") {
                at_ = escapeAt;
                return Fail("a high surrogate without a low one");
            }
            at_ += 2;
            if (!HexQuad(low)) return false;
            if (low < 0xdc00 || low > 0xdfff) {
                at_ = escapeAt;
                return Fail("a high surrogate without a low one");
            }
            code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
        }
        AppendUtf8(out, code);
        return true;
    }

    bool StringValue(std::string& out) {
        ++at_;
        for (;;) {
            if (AtEnd()) return Fail("the text ends inside a string");
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return Fail("a control character inside a string");
            if (c == '\\') {
                ++at_;
                static constexpr std::string_view kEscaped = "\"\\/bfnrt";
                static constexpr std::string_view kMeant = "\"\\/\b\f\n\r\t";
                const size_t which = AtEnd() ? std::string_view::npos : kEscaped.find(text_[at_]);
                if (which != std::string_view::npos) {
                    out += kMeant[which];
                    ++at_;
                } else if (Peek() == 'u') {
                    if (!UnicodeEscape(out)) return false;
                } else {
                    --at_;
                    return Fail("an unknown escape");
                }
                continue;
            }
            const size_t length = Utf8SequenceLength(text_.substr(at_));
            if (length == 0) return Fail("bytes that are no UTF-8");
            out.append(text_.substr(at_, length));
            at_ += length;
        }
    }

    bool NumberValue(JsonValue& value) {
        const size_t start = at_;
        if (Peek() == '-') ++at_;
        if (Peek() == '0') {
            ++at_;
            if (IsDigit(Peek())) return Fail("a number with a leading zero");
        } else if (IsDigit(Peek())) {
            while (IsDigit(Peek())) ++at_;
        } else {
            return Fail("a digit expected");
        }
        if (Peek() == '.') {
            ++at_;
            if (!IsDigit(Peek())) return Fail("a digit expected after '.'");
            while (IsDigit(Peek())) ++at_;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++at_;
            if (Peek() == '+' || Peek() == '-') ++at_;
            if (!IsDigit(Peek())) return Fail("a digit expected in the exponent");
            while (IsDigit(Peek())) ++at_;
        }
        value = JsonValue::Number(std::string(text_.substr(start, at_ - start)));
        return true;
    }

    std::string_view text_;
    size_t maxDepth_;
    size_t at_ = 0;
    std::string error_;
    size_t errorAt_ = 0;
};

}  // namespace

JsonParse ParseJson(std::string_view text, size_t maxDepth) { return Reader(text, maxDepth).Document(); }
