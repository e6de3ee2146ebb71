// The texts of the refusals, kept as string resources beside the other box texts.
#include "app/TokenCheck.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"

namespace {

struct RefusalString {
    TokenFault fault;
    UINT id;
};
constexpr RefusalString kRefusalStrings[] = {
    {TokenFault::kTimeoutNotInRange, IDS_TOKEN_TIMEOUT_REFUSED},
    {TokenFault::kEmptyPath, IDS_TOKEN_PATH_EMPTY},
    {TokenFault::kBlankInPath, IDS_TOKEN_PATH_BLANK},
    {TokenFault::kNoSuchFolder, IDS_TOKEN_PATH_NO_FOLDER},
    {TokenFault::kShareWithNoShare, IDS_TOKEN_SHARE_AND_NOSHARE},
    {TokenFault::kReserveNotInRange, IDS_TOKEN_RESERVE_REFUSED},
    {TokenFault::kMaxFileNotInRange, IDS_TOKEN_MAXFILE_REFUSED},
    {TokenFault::kThreadsNotInRange, IDS_TOKEN_THREADS_REFUSED},
    {TokenFault::kDaysNotInRange, IDS_TOKEN_DAYS_REFUSED},
};

// The string with its "%s" marks filled in turn: the tokens are shown in the characters they
// were typed in, which the ANSI code page may lack.
std::wstring Filled(const std::wstring& text, const std::wstring& first, const std::wstring& second) {
    std::wstring filled;
    const std::wstring* next[] = {&first, &second};
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] == L's' && used < 2) {
            filled += *next[used++];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

std::wstring RefusalText(const TokenRefusal& refusal) {
    for (const RefusalString& entry : kRefusalStrings)
        if (entry.fault == refusal.fault)
            return Filled(framework::LoadResourceStringW(entry.id), refusal.token, refusal.otherToken);
    return refusal.token;
}

}  // namespace

std::wstring RefusalMessage(const std::vector<TokenRefusal>& refusals) {
    std::wstring message;
    for (const TokenRefusal& refusal : refusals) {
        if (!message.empty()) message += L'\n';
        message += RefusalText(refusal);
    }
    return message;
}
