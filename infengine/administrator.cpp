// IsUserAdministrator: whether the caller's token holds the Administrators group. Windows
// 95/98 have no tokens: the check fails there, as it should (everyone may install).
#include <cstdio>
#include <string>
#include <vector>

#include "infengine/engine_driver.h"
#include "platform/machine.h"
#include "platform/security.h"
#include "platform/system.h"

namespace infengine {
namespace {

// The token's group record is read into a buffer of this size.
constexpr std::uint32_t kGroupsBufferSize = 1024;

void debugFailure(const char* format, std::uint32_t error) {
    char line[96];
    std::snprintf(line, sizeof line, format, static_cast<unsigned long>(error));
    platform::machine().system->OutputDebugString(line);
}

}  // namespace

int IsUserAdministrator() {
    platform::Security* security = platform::machine().security;
    if (security == nullptr) return 1;
    platform::HToken token = 0;
    const std::uint32_t threadError = security->OpenThreadToken(TOKEN_QUERY, true, &token);
    if (threadError != ERROR_SUCCESS) {
        token = 0;
        if (threadError != ERROR_NO_TOKEN) {
            debugFailure("!!! CRights: OpenThreadToken failed (%lu)\n", threadError);
        } else {
            const std::uint32_t processError = security->OpenProcessToken(TOKEN_QUERY, &token);
            if (processError != ERROR_SUCCESS) {
                token = 0;
                debugFailure("!!! CRights: OpenProcessToken failed (%lu)\n", processError);
            }
        }
    }
    if (token == 0) return 1;

    std::vector<std::string> groups;
    const bool read = security->GetTokenGroups(token, kGroupsBufferSize, &groups) == ERROR_SUCCESS;
    security->CloseToken(token);
    if (!read) return 1;
    for (const std::string& sid : groups) {
        if (sid == platform::kAdministratorsSid) return 0;
    }
    return 1;
}

}  // namespace infengine
