// The texts of the refusals, kept as string resources beside the other box texts.
#include "app/TokenCheck.h"
#include "common/text/Format.h"
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
    {TokenFault::kDaysNotInRange, IDS_TOKEN_DAYS_REFUSED},
};

std::string RefusalText(const TokenRefusal& refusal) {
    for (const RefusalString& entry : kRefusalStrings)
        if (entry.fault == refusal.fault)
            return text::Format(framework::LoadResourceString(entry.id).c_str(), refusal.token.c_str(),
                                refusal.otherToken.c_str());
    return refusal.token;
}

}  // namespace

std::string RefusalMessage(const std::vector<TokenRefusal>& refusals) {
    std::string message;
    for (const TokenRefusal& refusal : refusals) {
        if (!message.empty()) message += '\n';
        message += RefusalText(refusal);
    }
    return message;
}
