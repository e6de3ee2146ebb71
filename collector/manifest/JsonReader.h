#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "manifest/JsonValue.h"

// A JSON text read back into values: strict (RFC 8259 and nothing more: no comments, no
// trailing commas, no byte order mark, UTF-8 only, no member named twice in one object), and
// safe on what arrives from elsewhere: nesting has a limit and nothing past the text is read.

struct JsonParse {
    std::optional<JsonValue> value;  // empty when the text is no JSON
    std::string error;               // why not, with the byte offset it was found at
    size_t offset = 0;
};

// Deeper than this, a text is refused: a hostile one would otherwise take the stack.
constexpr size_t kJsonMaxDepth = 64;

JsonParse ParseJson(std::string_view text, size_t maxDepth = kJsonMaxDepth);
