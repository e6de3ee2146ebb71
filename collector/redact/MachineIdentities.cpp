#include "redact/MachineIdentities.h"

#include <windows.h>

#include <algorithm>

#include "common/text/Lines.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/ReadText.h"
#include "redact/Match.h"

namespace redact {

namespace {

// Accounts every Windows has (and the superuser Wine shows its user as): no one's name.
constexpr const char* kBuiltInAccounts[] = {
    "administrator", "guest", "defaultaccount", "wdagutilityaccount", "system", "systemprofile", "localservice",
    "networkservice", "default", "default user", "public", "all users", "root",
};
// Names every hosts file and resolver knows: no one's machine.
constexpr const char* kLoopbackNames[] = {"localhost", "localhost.localdomain", "ip6-localhost", "ip6-loopback",
                                          "broadcasthost", "local", "localdomain"};

std::string ComputerNameEx(COMPUTER_NAME_FORMAT format) {
    char name[256] = {};
    DWORD size = sizeof(name);
    return ::GetComputerNameExA(format, name, &size) ? std::string(name, size) : std::string();
}

std::string RegistryText(HKEY key, const char* value) {
    char text[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    return std::string(text);
}

void AddUser(std::vector<Identity>& identities, const std::string& name) {
    if (!IsOneOf(LowerCase(name), kBuiltInAccounts))
        identities.push_back({RedactionKind::kUserName, name});
}

void AddDomain(std::vector<Identity>& identities, const std::string& domain) {
    for (const std::string& name : DomainAndParents(domain)) identities.push_back({RedactionKind::kDomainName, name});
}

// The last folder of each profile's path in the ProfileList key: the account's name.
void AddProfileAccounts(std::vector<Identity>& identities) {
    win32::UniqueRegKey list;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                        KEY_READ | KEY_WOW64_64KEY, list.put()) != ERROR_SUCCESS)
        return;
    char sid[MAX_PATH] = {};
    for (DWORD index = 0;; ++index) {
        DWORD size = MAX_PATH;
        if (::RegEnumKeyExA(list.get(), index, sid, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        win32::UniqueRegKey profile;
        if (::RegOpenKeyExA(list.get(), sid, 0, KEY_QUERY_VALUE, profile.put()) != ERROR_SUCCESS) continue;
        const std::string path = RegistryText(profile.get(), "ProfileImagePath");
        const size_t slash = path.find_last_of('\\');
        AddUser(identities, slash == std::string::npos ? path : path.substr(slash + 1));
    }
}

void AddTcpipNames(std::vector<Identity>& identities) {
    win32::UniqueRegKey parameters;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", 0,
                        KEY_QUERY_VALUE | KEY_WOW64_64KEY, parameters.put()) != ERROR_SUCCESS)
        return;
    for (const char* value : {"Hostname", "NV Hostname"})
        identities.push_back({RedactionKind::kHostName, RegistryText(parameters.get(), value)});
    for (const char* value : {"Domain", "NV Domain", "DhcpDomain"}) AddDomain(identities, RegistryText(parameters.get(), value));
}

}  // namespace

std::vector<std::string> DomainAndParents(const std::string& domain) {
    std::vector<std::string> names;
    std::string rest = domain;
    while (!rest.empty() && rest.back() == '.') rest.pop_back();
    while (rest.find('.') != std::string::npos) {
        names.push_back(rest);
        rest = rest.substr(rest.find('.') + 1);
    }
    // A single label is a domain of its own only when it is the whole name ("CORP").
    if (names.empty() && !rest.empty()) names.push_back(rest);
    return names;
}

std::vector<Identity> HostsFileIdentities(const std::string& text) {
    std::vector<Identity> identities;
    text::ForEachLine(text, [&identities](std::string_view whole) {
        const std::string line(whole.substr(0, whole.find('#')));
        // The address first, then the names.
        size_t field = line.find_first_not_of(" \t\r");
        field = field == std::string::npos ? field : line.find_first_of(" \t\r", field);
        while (field != std::string::npos && (field = line.find_first_not_of(" \t\r", field)) != std::string::npos) {
            const size_t fieldEnd = std::min(line.find_first_of(" \t\r", field), line.size());
            const std::string name = line.substr(field, fieldEnd - field);
            field = fieldEnd;
            if (IsOneOf(LowerCase(name), kLoopbackNames)) continue;
            identities.push_back({RedactionKind::kHostName, name});
            const size_t dot = name.find('.');
            if (dot != std::string::npos) AddDomain(identities, name.substr(dot + 1));
        }
    });
    return identities;
}

std::vector<Identity> ReadMachineIdentities(const std::string& computerName, const std::string& systemDirectory) {
    std::vector<Identity> identities;
    identities.push_back({RedactionKind::kHostName, computerName});
    identities.push_back({RedactionKind::kHostName, ComputerNameEx(ComputerNameDnsHostname)});
    AddDomain(identities, ComputerNameEx(ComputerNameDnsDomain));
    AddTcpipNames(identities);
    std::string hosts;
    if (win32::ReadWholeFile(systemDirectory + "\\drivers\\etc\\hosts", hosts) == 0) {
        std::vector<Identity> named = HostsFileIdentities(hosts);
        identities.insert(identities.end(), named.begin(), named.end());
    }
    AddProfileAccounts(identities);
    char user[257] = {};
    DWORD size = sizeof(user);
    if (::GetUserNameA(user, &size)) AddUser(identities, user);
    identities.erase(std::remove_if(identities.begin(), identities.end(), [](const Identity& i) { return i.name.empty(); }),
                     identities.end());
    return identities;
}

}  // namespace redact
