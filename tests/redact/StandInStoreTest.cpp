#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <tuple>

#include "TestFiles.h"
#include "redact/AdministratorsOnly.h"
#include "redact/MachineIdentities.h"
#include "redact/StandInMap.h"

namespace {

std::string Dacl(const std::string& path) {
    DWORD needed = 0;
    ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::string descriptor(needed, '\0');
    if (!::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) return "";
    char* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                               DACL_SECURITY_INFORMATION, &text, nullptr))
        return "";
    win32::UniqueLocalMemory owner(text);
    return text;
}

// Only SYSTEM and Administrators: Windows reads back "D:P(A;;FA;;;BA)(A;;FA;;;SY)"; Wine keeps a
// DACL as Unix mode bits and reads back the owner (an administrator) in place of BA. Either
// way no one else, whereas a file made without it lets everyone (WD) read.
void ExpectAdministratorsOnly(const std::string& path) {
    const std::string dacl = Dacl(path);
    EXPECT_NE(std::string::npos, dacl.find(";;;SY)")) << path << ": " << dacl;
    for (const char* others : {";;;WD)", ";;;BU)", ";;;AU)", ";;;BG)"})
        EXPECT_EQ(std::string::npos, dacl.find(others)) << path << ": " << dacl;
}

TEST(AdministratorsOnly, TheMapsFolderAndFilesAreForAdministratorsAndSystemOnly) {
    testing_support::ScopedWorkFolder work;
    const std::string folder = work.Path() + "\\Zeltrin";
    const std::string file = folder + "\\map.txt";
    ASSERT_EQ(0u, redact::MakeAdministratorsOnlyFolder(folder));
    ExpectAdministratorsOnly(folder);
    // A file there before, open to everyone, is replaced by one that is not.
    testing_support::WriteWholeFile(file, "old");
    ASSERT_NE(std::string::npos, Dacl(file).find(";;;WD)"));
    ASSERT_EQ(0u, redact::WriteAdministratorsOnlyFile(file, "new"));
    ExpectAdministratorsOnly(file);
    EXPECT_EQ("new", testing_support::ReadWholeFile(file));
    EXPECT_FALSE(testing_support::PathExists(file + ".new"));
}

TEST(StandInMap, ALaterRunGivesTheSameOriginalsTheSameStandInsAndNewOnesTheNextNumbers) {
    redact::StandInMap first;
    EXPECT_EQ("host0001", first.StandIn(RedactionKind::kHostName, "ACMESRV01"));
    EXPECT_EQ("240.0.0.1", first.StandIn(RedactionKind::kIpv4Address, "10.0.0.1"));
    EXPECT_EQ("host0002", first.StandIn(RedactionKind::kHostName, "db1"));
    redact::StandInMap later;
    // Lines of a damaged file: an unknown kind, no number, a number or an original taken twice.
    later.Read(first.Text() + "colours\t1\tred\r\nhostNames\t0\tx\r\nhostNames\t2\tother\r\nhostNames\t9\tdb1\r\n");
    EXPECT_EQ("host0001", later.StandIn(RedactionKind::kHostName, "acmesrv01"));
    EXPECT_EQ("host0003", later.StandIn(RedactionKind::kHostName, "other"));
    EXPECT_EQ("240.0.0.2", later.StandIn(RedactionKind::kIpv4Address, "10.0.0.2"));
    EXPECT_EQ("S-1-5-21-0-0-1", later.StandIn(RedactionKind::kDomainSid, "S-1-5-21-1-2-3"));
    std::vector<std::string> used;
    for (const redact::StandInEntry& entry : later.Used()) used.push_back(entry.standIn + "=" + entry.original);
    EXPECT_EQ((std::vector<std::string>{"host0001=ACMESRV01", "host0003=other", "240.0.0.2=10.0.0.2",
                                        "S-1-5-21-0-0-1=S-1-5-21-1-2-3"}),
              used);
}

// The hosts file's names and the domains they end in; loopback names, comments and the
// trailing dot of a full name are nobody's.
TEST(MachineIdentities, TheHostsFileGivesItsNamesAndTheirDomains) {
    const std::string hosts = "# 10.0.0.9 old\r\n127.0.0.1\tlocalhost\r\n10.0.0.5  db7.corp.acme.com. db7 # db\r\n\r\n::1 ip6-localhost";
    std::vector<std::string> found;
    for (const redact::Identity& identity : redact::HostsFileIdentities(hosts))
        found.push_back(RedactionKindName(identity.kind) + (":" + identity.name));
    EXPECT_EQ(found, (std::vector<std::string>{"hostNames:db7.corp.acme.com.", "domainNames:corp.acme.com",
                                               "domainNames:acme.com", "hostNames:db7"}));
}

// A profile names its account and, in "name.DOMAIN", the account's domain; the profiles of
// the system, of services and of built-in accounts name no one.
TEST(MachineIdentities, AProfileGivesItsAccountAndDomainButServicesNone) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"S-1-5-21-1-2-3-1001", "C:\\Users\\mrossi.CORP", "userNames:mrossi domainNames:CORP "},
        {"S-1-5-21-1-2-3-1002", "C:\\Users\\jdoe.ACMESRV01", "userNames:jdoe "},
        {"S-1-5-21-1-2-3-1003", "C:\\Users\\jdoe.000", "userNames:jdoe "},
        {"S-1-5-21-1-2-3-1004", "C:\\Users\\defaultuser0", ""},
        {"S-1-5-80-3880718306-3832830129-1677859214-2598158968-1052248003", "C:\\Windows\\ServiceProfiles\\MSSQLSERVER", ""},
        {"S-1-5-82-3006700770-424185619-1745488364-794895919-4004696415", "C:\\Users\\.NET v4.5", ""},
        {"S-1-5-18", "C:\\Windows\\system32\\config\\systemprofile", ""},
        {"S-1-5-20", "C:\\Windows\\ServiceProfiles\\NetworkService", ""}};
    for (const auto& [sid, path, expected] : cases) {
        std::string found;
        for (const redact::Identity& identity : redact::ProfileIdentities(sid, path, "ACMESRV01"))
            found += RedactionKindName(identity.kind) + (":" + identity.name) + " ";
        EXPECT_EQ(expected, found) << path;
    }
}

}  // namespace
