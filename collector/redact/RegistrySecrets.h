#pragma once
#include "redact/Match.h"

namespace redact {

// REGISTRY.TXT: the data of a value whose name holds "password", "passwd", "passphrase",
// "pwd", "secret", "token", "apikey", "api_key" or "credential", or ends in "Pass" ("AdminPass"),
// with the further lines of a multi-string or a binary dump that belong to it.
class RegistrySecrets {
public:
    // At the start of a line: the part of it that is secret (found kYes, [replaceFrom,
    // replaceTo)), kNo, or kNeedMore until the whole line is there.
    Match AtLineStart(const Window& window, size_t at);

private:
    bool inSecretValue_ = false;
    size_t valueIndent_ = 0;
};

}  // namespace redact
