#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/CommandLine.h"
#include "engine/Collection.h"
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

TEST(HostsFile, NamesAreItsHostsAndTheirDomainsButNotTheLoopbackNames) {
    std::vector<std::string> found;
    for (const redact::Identity& identity : redact::HostsFileIdentities(
             "# 10.0.0.9 commented\r\n127.0.0.1 localhost\r\n10.1.1.1\tdb1.corp.acme.com  db1 # primary\r\n::1 ip6-localhost\n"))
        found.push_back(std::string(RedactionKindName(identity.kind)) + ":" + identity.name);
    EXPECT_EQ((std::vector<std::string>{"hostNames:db1.corp.acme.com", "domainNames:corp.acme.com",
                                        "domainNames:acme.com", "hostNames:db1"}),
              found);
}

TEST(CommandLine, RedactTurnsItOnAndItsWordsAreTheLastTokensKeywords) {
    struct Case {
        const char* arguments;
        bool redact;
        std::vector<std::string> keywords;
    };
    const Case cases[] = {
        {"-noGUI case#=1", false, {}},
        {"-noGUI REDACT", true, {}},
        {"Redact=acme;;Proj;,-noGUI", true, {"acme", "Proj"}},
        {"redact=a redact", true, {}},
        {"redact redact=b", true, {"b"}},
        {"redactor -redact", false, {}},
    };
    for (const Case& c : cases) {
        const CommandLineOptions options = ParseCommandLine(c.arguments);
        EXPECT_EQ(c.redact, options.redact) << c.arguments;
        EXPECT_EQ(c.keywords, options.redactKeywords) << c.arguments;
    }
}

// Two runs on the same machine: the same names get the same stand-ins; what is not text is
// moved beside the run folder and recorded; the map of the run lies beside it too.
TEST(RedactRunFolder, TwoRunsGiveTheSameStandInsAndBinariesAreWithheld) {
    testing_support::ScopedWorkFolder work;
    std::string rewritten[2];
    for (int runIndex = 0; runIndex < 2; ++runIndex) {
        Collection collection;
        collection.folders.nodeName = "QZNODE07";
        collection.run.bugFolderNumber = "inc";
        collection.run.runFolder = work.Path() + "\\inc\\QZNODE07\\run" + std::to_string(runIndex);
        collection.redaction.requested = true;
        collection.redaction.keywords = {"Brightwater"};
        collection.redaction.standInFolder = work.Path() + "\\store";
        ::CreateDirectoryA((work.Path() + "\\inc").c_str(), nullptr);
        ::CreateDirectoryA((work.Path() + "\\inc\\QZNODE07").c_str(), nullptr);
        ::CreateDirectoryA(collection.run.runFolder.c_str(), nullptr);
        ::CreateDirectoryA((collection.run.runFolder + "\\OS").c_str(), nullptr);
        const std::string log = "node qznode07 at " + std::string(runIndex ? "10.9.9.9 " : "") +
                                "10.1.2.3 for BRIGHTWATER in " + collection.run.runFolder + "\\OS\r\n";
        testing_support::WriteWholeFile(collection.run.runFolder + "\\OS\\a.log", log);
        testing_support::WriteWholeFile(collection.run.runFolder + "\\OS\\APP_Events.evt", "ELF");
        testing_support::WriteWholeFile(collection.run.runFolder + "\\dump.bin", std::string("a\0b", 3));

        EXPECT_EQ(std::vector<std::string>(), collection.RedactRunFolder());
        EXPECT_EQ(std::vector<std::string>(), collection.KeepRedactionMap());
        rewritten[runIndex] = testing_support::ReadWholeFile(collection.run.runFolder + "\\OS\\a.log");
        EXPECT_EQ("host0001", collection.redaction.cabinetNode);
        ASSERT_EQ(2u, collection.redaction.withheld.size());
        EXPECT_EQ("OS/APP_Events.evt", collection.redaction.withheld[0].relativePath);
        EXPECT_EQ("a binary kind (.evt)", collection.redaction.withheld[0].reason);
        EXPECT_EQ("dump.bin", collection.redaction.withheld[1].relativePath);
        EXPECT_TRUE(testing_support::PathExists(collection.run.runFolder + "_WITHHELD\\OS\\APP_Events.evt"));
        EXPECT_FALSE(testing_support::PathExists(collection.run.runFolder + "\\dump.bin"));
        const std::string map = testing_support::ReadWholeFile(collection.run.runFolder + "_REDACTION-MAP.TXT");
        EXPECT_NE(std::string::npos, map.find("host0001\tQZNODE07\thostNames\r\n")) << map;
        EXPECT_NE(std::string::npos, map.find("240.0.0.1\t10.1.2.3\tipv4Addresses\r\n")) << map;
        EXPECT_EQ(3u + runIndex, collection.redaction.replacements[static_cast<size_t>(RedactionKind::kHostName)] +
                                     collection.redaction.replacements[static_cast<size_t>(RedactionKind::kIpv4Address)]);
    }
    EXPECT_EQ("node host0001 at 240.0.0.1 for keyword0001 in " + work.Path() + "\\inc\\host0001\\run0\\OS\r\n",
              rewritten[0]);
    EXPECT_EQ("node host0001 at 240.0.0.2 240.0.0.1 for keyword0001 in " + work.Path() + "\\inc\\host0001\\run1\\OS\r\n",
              rewritten[1]);
}

}  // namespace
