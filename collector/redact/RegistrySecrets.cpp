#include "redact/RegistrySecrets.h"

#include <cstring>
#include <string>

#include "redact/Match.h"

namespace redact {

namespace {

constexpr const char* kSecretWords[] = {"password", "passwd", "passphrase", "pwd",       "secret",
                                        "token",    "apikey", "api_key",    "credential"};
constexpr char kPassEnding[] = "pass";  // "AdminPass"; not "Bypass" or "PassThrough" though
constexpr size_t kDumpIndent = 13;  // a binary value's hex dump lines

bool HoldsSecretWord(const char* text, size_t length) {
    const std::string lower = LowerCase(std::string(text, length));
    constexpr size_t kEnding = sizeof(kPassEnding) - 1;
    const bool passEnding = length > kEnding && lower.compare(length - kEnding, kEnding, kPassEnding) == 0 &&
                            text[length - kEnding] == 'P';
    return passEnding || HoldsOneOf(lower, kSecretWords);
}

bool IsDumpLine(const char* line, size_t indent, size_t length) {
    return indent == kDumpIndent && length >= indent + 3 && IsHex(line[indent]) && IsHex(line[indent + 1]) &&
           line[indent + 2] == ' ';
}

Match Secret(size_t from, size_t to) {
    Match match;
    if (to <= from) return match;
    match.found = Found::kYes;
    match.replaceFrom = from;
    match.replaceTo = to;
    match.end = to;
    match.kind = RedactionKind::kSecret;
    return match;
}

}  // namespace

Match RegistrySecrets::AtLineStart(const Window& window, size_t at) {
    const void* newline = std::memchr(window.text + at, '\n', window.length - at);
    if (newline == nullptr && !window.atEnd) return NeedMore();
    size_t lineEnd = newline ? static_cast<size_t>(static_cast<const char*>(newline) - window.text) : window.length;
    if (lineEnd > at && window.At(lineEnd - 1) == '\r') --lineEnd;
    const char* line = window.text + at;
    const size_t length = lineEnd - at;
    size_t indent = 0;
    while (indent < length && line[indent] == ' ') ++indent;

    if (inSecretValue_ && (indent > valueIndent_ || IsDumpLine(line, indent, length)))
        return Secret(at + indent, lineEnd);
    inSecretValue_ = false;
    if (length >= 3 && std::memcmp(line, "~~~", 3) == 0) return {};
    // A value line: indent, name, ":", blanks, its type, blanks, its data.
    const void* colon = std::memchr(line + indent, ':', length - indent);
    if (colon == nullptr || line[indent] == '[') return {};
    const size_t nameEnd = static_cast<size_t>(static_cast<const char*>(colon) - line);
    if (!HoldsSecretWord(line + indent, nameEnd - indent)) return {};
    size_t data = nameEnd + 1;
    while (data < length && line[data] == ' ') ++data;
    if (length - data < 4 || std::memcmp(line + data, "REG_", 4) != 0) return {};
    while (data < length && line[data] != ' ') ++data;
    while (data < length && line[data] == ' ') ++data;
    inSecretValue_ = true;
    valueIndent_ = indent;
    return Secret(at + data, lineEnd);
}

}  // namespace redact
