// The secrets that text carries by its own conventions: each key is looked for where it starts,
// and the value after it found by the key's way of giving one.
#include "redact/Secrets.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace redact {

namespace {

enum class Form {
    kAssigned,       // "key: value", "key=value", "key" = "value", <key>value
    kAssignedOrBlank,  // as kAssigned, or "key value"
    kScheme,         // "Authorization: Basic value"
    kSwitch,         // "/pass:value"
    kNetUse,         // "net use [device] \\server\share value"
};

struct Key {
    const char* word;  // lower case
    Form form;
};
// Longer keys before the keys they begin with.
constexpr Key kKeys[] = {
    {"password", Form::kAssigned}, {"passwd", Form::kAssignedOrBlank}, {"passphrase", Form::kAssigned},
    {"pass", Form::kSwitch},       {"pwd", Form::kAssigned},           {"secret", Form::kAssigned},
    {"token", Form::kAssigned},    {"api_key", Form::kAssigned},       {"apikey", Form::kAssigned},
    {"api-key", Form::kAssigned},  {"authorization", Form::kScheme},   {"net use ", Form::kNetUse},
};
constexpr size_t kLongestValue = 512;

// Where the text at `at` stops being `lower` in any letter case: kYes all of it, kNeedMore
// while the text ends before.
Found Holds(const Window& window, size_t at, const char* lower) {
    for (size_t i = 0; lower[i] != '\0'; ++i) {
        if (window.Short(at + i)) return Found::kNeedMore;
        if (at + i >= window.length || Lower(window.At(at + i)) != lower[i]) return Found::kNo;
    }
    return Found::kYes;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool EndsValue(char c) { return std::strchr(" \t\r\n\"'<>;,&", c) != nullptr; }
bool EndsLine(char c) { return c == '\r' || c == '\n'; }

// Skips characters while `skip` holds; false when the text ends before more is known.
template <typename Skip>
bool SkipWhile(const Window& window, size_t& i, Skip skip) {
    while (i < window.length && skip(window.At(i))) ++i;
    return !window.Short(i);
}

// The secret value from `from` on: a quoted one up to its quote, one after "<key>" up to "<",
// else up to a blank, quote, separator or the line's end. A registry value's type is passed.
Match ValueFrom(const Window& window, size_t from, bool afterTag) {
    size_t i = from;
    if (i + 4 <= window.length && std::memcmp(window.text + i, "REG_", 4) == 0) {
        if (!SkipWhile(window, i, [](char c) { return IsAlnum(c) || c == '_'; })) return NeedMore();
        if (!SkipWhile(window, i, IsBlank)) return NeedMore();
    }
    if (window.Short(i + 1)) return NeedMore();
    if (i >= window.length) return {};
    const char quote = window.At(i) == '"' || window.At(i) == '\'' ? window.At(i) : 0;
    if (quote) ++i;
    const size_t start = i;
    auto inValue = [quote, afterTag](char c) {
        return quote ? c != quote && !EndsLine(c) : afterTag ? c != '<' && !EndsLine(c) : !EndsValue(c);
    };
    while (i < window.length && i - start < kLongestValue && inValue(window.At(i))) ++i;
    if (window.Short(i)) return NeedMore();
    if (i == start) return {};
    return Matched(start, i, RedactionKind::kSecret, std::string());
}

// After a key: its closing quote, blanks, ":" or "=", blanks; or ">" of "<key>".
Match Assigned(const Window& window, size_t at, size_t i, bool blankAlone) {
    if (window.Short(i + 1)) return NeedMore();
    if (i < window.length && window.At(i) == '>' && window.Before(at) == '<') return ValueFrom(window, i + 1, true);
    if (i < window.length && (window.At(i) == '"' || window.At(i) == '\'')) ++i;
    const size_t blanks = i;
    if (!SkipWhile(window, i, IsBlank)) return NeedMore();
    if (i < window.length && (window.At(i) == ':' || window.At(i) == '=')) {
        ++i;
        if (!SkipWhile(window, i, IsBlank)) return NeedMore();
        return ValueFrom(window, i, false);
    }
    if (blankAlone && i > blanks && i < window.length && !EndsLine(window.At(i))) return ValueFrom(window, i, false);
    return {};
}

// "Authorization: Basic dXNlcjpwYXNz": the credentials after the scheme.
Match Scheme(const Window& window, size_t i) {
    if (i < window.length && window.At(i) == '"') ++i;
    if (!SkipWhile(window, i, IsBlank)) return NeedMore();
    if (i >= window.length || (window.At(i) != ':' && window.At(i) != '=')) return {};
    ++i;
    if (!SkipWhile(window, i, [](char c) { return IsBlank(c) || c == '"'; })) return NeedMore();
    size_t word = i;
    if (!SkipWhile(window, word, IsAlpha)) return NeedMore();
    if (word > i && word < window.length && IsBlank(window.At(word))) {
        i = word;
        if (!SkipWhile(window, i, IsBlank)) return NeedMore();
    }
    return ValueFrom(window, i, false);
}

// "net use Z: \\server\share pw /user:x": the word after the share that is no switch.
Match NetUse(const Window& window, size_t i) {
    bool share = false;
    while (true) {
        if (!SkipWhile(window, i, IsBlank)) return NeedMore();
        if (window.Short(i + 2)) return NeedMore();
        if (i >= window.length || EndsLine(window.At(i))) return {};
        const size_t word = i;
        if (!SkipWhile(window, i, [](char c) { return !IsBlank(c) && !EndsLine(c); })) return NeedMore();
        const char first = window.At(word);
        if (first == '\\' && word + 1 < i && window.At(word + 1) == '\\') {
            share = true;
        } else if (first != '/' && share) {
            if (i - word == 1 && first == '*') return {};
            return Matched(word, i, RedactionKind::kSecret, std::string());
        }
    }
}

// "ftp://admin:pw@host": from the ":" of "://", the password before "@".
Match UrlPassword(const Window& window, size_t at) {
    if (Holds(window, at, "://") != Found::kYes || !IsAlpha(window.Before(at))) {
        return Holds(window, at, "://") == Found::kNeedMore ? NeedMore() : Match{};
    }
    size_t i = at + 3;
    size_t colon = 0;
    for (; i < window.length && i - at < kLongestValue; ++i) {
        const char c = window.At(i);
        if (c == ':' && colon == 0) colon = i;
        if (c == '@') break;
        if (std::strchr("/?# \t\r\n\"'<>", c)) return {};
    }
    if (window.Short(i)) return NeedMore();
    if (i >= window.length || window.At(i) != '@' || colon == 0 || colon + 1 == i) return {};
    return Matched(colon + 1, i, RedactionKind::kSecret, std::string());
}

}  // namespace

bool MayStartSecret(const Window& window, size_t at) {
    // The first three characters of every key, and a URL's "://".
    static constexpr const char* kStarts[] = {"pas", "pwd", "sec", "tok", "api", "aut", "net", "://"};
    const char first = Lower(window.At(at));
    if (first != 'p' && first != 's' && first != 't' && first != 'a' && first != 'n' && first != ':') return false;
    if (window.Short(at + 3)) return true;
    if (at + 3 > window.length) return false;
    const char second = Lower(window.At(at + 1));
    const char third = Lower(window.At(at + 2));
    return std::any_of(std::begin(kStarts), std::end(kStarts),
                       [=](const char* start) { return start[0] == first && start[1] == second && start[2] == third; });
}

Match FindSecret(const Window& window, size_t at) {
    if (window.At(at) == ':') return UrlPassword(window, at);
    for (const Key& key : kKeys) {
        const Found found = Holds(window, at, key.word);
        if (found == Found::kNeedMore) return NeedMore();
        if (found == Found::kNo) continue;
        const size_t i = at + std::strlen(key.word);
        switch (key.form) {
            case Form::kAssigned: return Assigned(window, at, i, false);
            case Form::kAssignedOrBlank: return Assigned(window, at, i, true);
            case Form::kScheme: return Scheme(window, i);
            case Form::kNetUse: return IsWordChar(window.Before(at)) ? Match{} : NetUse(window, i);
            case Form::kSwitch:
                if (window.Short(i + 1)) return NeedMore();
                if (window.Before(at) != '/' || i >= window.length || window.At(i) != ':') continue;
                return ValueFrom(window, i + 1, false);
        }
    }
    return {};
}

}  // namespace redact
