#pragma once
#include "redact/Match.h"

namespace redact {

// A secret in text: the value of a key that names one ("password", "passwd", "passphrase",
// "pwd", "secret", "token", "api_key", "apikey"), however it is written ("password: x",
// "Password = x", "PWD:x", "passwd x", JSON "password":"x", <Password>x</Password>); the
// credentials of an "Authorization:" header after its scheme; a URL's password
// ("ftp://admin:pw@"); the password of "net use" and of "cmdkey /pass:". The secret is
// replaced, its key stays.
Match FindSecret(const Window& window, size_t at);

// Whether a secret may start at `at` by its first characters (the text ending before counts as may).
bool MayStartSecret(const Window& window, size_t at);

}  // namespace redact
