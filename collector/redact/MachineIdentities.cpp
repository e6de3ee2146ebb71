#include "redact/MachineIdentities.h"

#include <windows.h>

#include <ntsecapi.h>
#include <sddl.h>

#include <algorithm>
#include <memory>

#include "common/text/Lines.h"
#include "common/win32/ReadText.h"
#include "common/win32/UniqueHandle.h"
#include "redact/Match.h"

namespace redact {

namespace {

// Accounts every Windows has (and the superuser Wine shows its user as): no one's name.
constexpr const char* kBuiltInAccounts[] = {
    "administrator", "guest", "defaultaccount", "wdagutilityaccount", "system", "systemprofile", "localservice",
    "networkservice", "default", "default user", "public", "all users", "root", "defaultuser0",
};
// The profiles of the system's own accounts and of services (S-1-5-80-…, IIS application pools
// S-1-5-82-…): "MSSQLSERVER", ".NET v4.5" are no one's.
constexpr const char* kServiceSidPrefixes[] = {"s-1-5-80-", "s-1-5-82-", "s-1-5-18", "s-1-5-19", "s-1-5-20"};
// Names every hosts file and resolver knows: no one's machine.
constexpr const char* kLoopbackNames[] = {"localhost", "localhost.localdomain", "ip6-localhost", "ip6-loopback",
                                          "broadcasthost", "local", "localdomain"};

std::string Utf8(const wchar_t* text, int length = -1) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
    if (length < 0) utf8.pop_back();
    return utf8;
}

// The name in the ANSI code page, where every character of it has one there; else empty.
std::string AnsiForm(const std::string& utf8) {
    const int wideSize = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    if (wideSize <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), wideSize);
    BOOL lossy = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi.data(), size, nullptr, &lossy);
    ansi.pop_back();
    return lossy ? std::string() : ansi;
}

std::string ComputerNameEx(COMPUTER_NAME_FORMAT format) {
    wchar_t name[256] = {};
    DWORD size = 256;
    return ::GetComputerNameExW(format, name, &size) ? Utf8(name, static_cast<int>(size)) : std::string();
}

std::string RegistryText(HKEY key, const wchar_t* value) {
    wchar_t text[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH * sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    return Utf8(text);
}

// Each value's text of a key below HKEY_LOCAL_MACHINE, or of each of its sub-keys with `each`.
template <typename Each>
void ForEachSubKey(const wchar_t* path, Each each) {
    win32::UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, key.put()) != ERROR_SUCCESS) return;
    wchar_t name[MAX_PATH] = {};
    for (DWORD index = 0;; ++index) {
        DWORD size = MAX_PATH;
        if (::RegEnumKeyExW(key.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        win32::UniqueRegKey sub;
        if (::RegOpenKeyExW(key.get(), name, 0, KEY_QUERY_VALUE, sub.put()) == ERROR_SUCCESS) each(Utf8(name), sub.get());
    }
}

template <typename Each>
void WithKey(const wchar_t* path, Each each) {
    win32::UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) == ERROR_SUCCESS)
        each(key.get());
}

void AddUser(std::vector<Identity>& identities, const std::string& name) {
    if (!IsOneOf(LowerCase(name), kBuiltInAccounts)) identities.push_back({RedactionKind::kUserName, name});
}

void AddDomain(std::vector<Identity>& identities, const std::string& domain) {
    for (const std::string& name : DomainAndParents(domain)) identities.push_back({RedactionKind::kDomainName, name});
}

// A NetBIOS domain other than the computer's own name (a local account's "domain").
void AddNetbiosDomain(std::vector<Identity>& identities, const std::string& domain, const std::string& computerName) {
    if (!domain.empty() && LowerCase(domain) != LowerCase(computerName) && domain.find('.') == std::string::npos)
        identities.push_back({RedactionKind::kDomainName, domain});
}

struct LsaHandleTraits {
    using pointer = LSA_HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::LsaClose(h); }
};
struct LsaMemoryDeleter {
    void operator()(void* memory) const noexcept { ::LsaFreeMemory(memory); }
};

// The domain the machine is a member of; a workgroup has no SID and is none.
std::string PrimaryDomain() {
    LSA_OBJECT_ATTRIBUTES attributes{};
    win32::UniqueHandle<LsaHandleTraits> policy;
    if (::LsaOpenPolicy(nullptr, &attributes, POLICY_VIEW_LOCAL_INFORMATION, policy.put()) != 0) return std::string();
    void* buffer = nullptr;
    if (::LsaQueryInformationPolicy(policy.get(), PolicyPrimaryDomainInformation, &buffer) != 0 || buffer == nullptr)
        return std::string();
    std::unique_ptr<void, LsaMemoryDeleter> owner(buffer);
    const auto* primary = static_cast<const POLICY_PRIMARY_DOMAIN_INFO*>(buffer);
    if (primary->Sid == nullptr || primary->Name.Buffer == nullptr) return std::string();
    return Utf8(primary->Name.Buffer, primary->Name.Length / sizeof(wchar_t));
}

// The domain of a profile's account by its SID, where the system can still tell.
std::string AccountDomain(const std::string& sid) {
    PSID binary = nullptr;
    if (!::ConvertStringSidToSidA(sid.c_str(), &binary)) return std::string();
    win32::UniqueLocalMemory owner(binary);
    wchar_t name[256] = {};
    wchar_t domain[256] = {};
    DWORD nameSize = 256;
    DWORD domainSize = 256;
    SID_NAME_USE use{};
    return ::LookupAccountSidW(nullptr, binary, name, &nameSize, domain, &domainSize, &use) ? Utf8(domain) : std::string();
}

void AddNetworkNames(std::vector<Identity>& identities, const std::string& computerName) {
    identities.push_back({RedactionKind::kHostName, computerName, true});
    identities.push_back({RedactionKind::kHostName, ComputerNameEx(ComputerNameDnsHostname), true});
    identities.push_back({RedactionKind::kHostName, ComputerNameEx(ComputerNamePhysicalDnsHostname), true});
    AddDomain(identities, ComputerNameEx(ComputerNameDnsDomain));
    WithKey(L"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", [&](HKEY key) {
        identities.push_back({RedactionKind::kHostName, RegistryText(key, L"ComputerName"), true});
    });
    WithKey(L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", [&](HKEY key) {
        for (const wchar_t* value : {L"Hostname", L"NV Hostname"})
            identities.push_back({RedactionKind::kHostName, RegistryText(key, value), true});
        for (const wchar_t* value : {L"Domain", L"NV Domain", L"DhcpDomain"}) AddDomain(identities, RegistryText(key, value));
    });
    AddNetbiosDomain(identities, PrimaryDomain(), computerName);
    WithKey(L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", [&](HKEY key) {
        for (const wchar_t* value : {L"CachePrimaryDomain", L"DefaultDomainName"})
            AddNetbiosDomain(identities, RegistryText(key, value), computerName);
    });
    // The cluster and its nodes: the other nodes' names fill the cluster's log and registry.
    WithKey(L"Cluster", [&](HKEY key) { identities.push_back({RedactionKind::kHostName, RegistryText(key, L"ClusterName")}); });
    ForEachSubKey(L"Cluster\\Nodes", [&](const std::string&, HKEY node) {
        identities.push_back({RedactionKind::kHostName, RegistryText(node, L"NodeName")});
    });
}

void AddProfileAccounts(std::vector<Identity>& identities, const std::string& computerName) {
    ForEachSubKey(L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", [&](const std::string& sid, HKEY profile) {
        std::vector<Identity> named = ProfileIdentities(sid, RegistryText(profile, L"ProfileImagePath"), computerName);
        if (!named.empty()) AddNetbiosDomain(named, AccountDomain(sid), computerName);
        identities.insert(identities.end(), named.begin(), named.end());
    });
    wchar_t user[257] = {};
    DWORD size = 257;
    if (::GetUserNameW(user, &size)) AddUser(identities, Utf8(user));
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

std::vector<Identity> ProfileIdentities(const std::string& sid, const std::string& profilePath,
                                        const std::string& computerName) {
    std::vector<Identity> identities;
    const std::string lowerSid = LowerCase(sid);
    for (const char* prefix : kServiceSidPrefixes)
        if (lowerSid.rfind(prefix, 0) == 0) return identities;
    const size_t slash = profilePath.find_last_of('\\');
    std::string account = slash == std::string::npos ? profilePath : profilePath.substr(slash + 1);
    const size_t dot = account.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        const std::string suffix = account.substr(dot + 1);
        account.erase(dot);
        if (!std::all_of(suffix.begin(), suffix.end(), IsDigit)) AddNetbiosDomain(identities, suffix, computerName);
    }
    std::vector<Identity> user;
    AddUser(user, account);
    if (user.empty()) return user;
    user.insert(user.end(), identities.begin(), identities.end());
    return user;
}

std::vector<Identity> ReadMachineIdentities(const std::string& computerName, const std::string& systemDirectory) {
    std::vector<Identity> identities;
    AddNetworkNames(identities, computerName);
    std::string hosts;
    if (win32::ReadWholeFile(systemDirectory + "\\drivers\\etc\\hosts", hosts) == 0) {
        std::vector<Identity> named = HostsFileIdentities(hosts);
        identities.insert(identities.end(), named.begin(), named.end());
    }
    AddProfileAccounts(identities, computerName);
    identities.erase(std::remove_if(identities.begin(), identities.end(), [](const Identity& i) { return i.name.empty(); }),
                     identities.end());
    // A name that is not plain ASCII is also looked for as the ANSI code page writes it.
    const size_t count = identities.size();
    for (size_t i = 0; i < count; ++i) {
        const bool ascii = std::all_of(identities[i].name.begin(), identities[i].name.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) continue;
        Identity ansi = identities[i];
        ansi.name = AnsiForm(identities[i].name);
        ansi.standsFor = identities[i].name;
        if (!ansi.name.empty() && ansi.name != identities[i].name) identities.push_back(std::move(ansi));
    }
    return identities;
}

}  // namespace redact
