#include <gtest/gtest.h>

#include "TestFiles.h"
#include "redact/FileRewriter.h"
#include "redact/TextRewriter.h"

namespace {

// The rewrites here are far from any floor.
FreeSpaceFloor& NoFloor() {
    static const std::optional<unsigned> none = 0u;
    static FreeSpaceFloor floor(none);
    return floor;
}

using redact::NameTable;
using redact::StandInMap;

// A machine "ACMESRV01" (host0001) whose name table also holds a host "VM" that is a
// sub-folder name (host0002), a short host "db1" (host0003), the domain corp.acme.com, a user
// and a keyword; the run folder's machine level is "\inc\VM\".
struct Machine {
    NameTable names;
    StandInMap standIns;
    redact::ReplacementCounts counts{};
    Machine() {
        const std::pair<RedactionKind, const char*> identities[] = {
            {RedactionKind::kHostName, "ACMESRV01"}, {RedactionKind::kHostName, "VM"},
            {RedactionKind::kHostName, "db1"},       {RedactionKind::kDomainName, "corp.acme.com"},
            {RedactionKind::kUserName, "jdoe"},      {RedactionKind::kKeyword, "SecretProj"}};
        for (const auto& [kind, name] : identities) {
            names.Add(kind, name);
            standIns.StandIn(kind, name);
        }
        names.SetMachineFolder("inc", "VM");
    }
    std::string Rewrite(const std::string& text, bool registryDump = false) {
        redact::TextRewriter rewriter(names, standIns, counts, registryDump);
        std::string out;
        rewriter.Rewrite(text.data(), text.size(), true, out);
        return out;
    }
};

TEST(Recognisers, ReplaceWhatNamesTheMachineAndNothingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"ping 10.1.2.3, 10.1.2.3, 192.168.0.7, 10.200.3.4.", "ping 240.0.0.1, 240.0.0.1, 240.0.0.2, 240.0.0.3."},
        {"127.0.0.1 0.0.0.0 255.255.255.255 1.2.3.4.5 6.1.0.445 1.2.3", "127.0.0.1 0.0.0.0 255.255.255.255 1.2.3.4.5 6.1.0.445 1.2.3"},
        {"FileVersion: 9.5.132.0\nProductVersion: 10.0.0.1<BR>ping 10.0.0.1", "FileVersion: 9.5.132.0\nProductVersion: 10.0.0.1<BR>ping 240.0.0.1"},
        {"gw=fe80::1c2d:3e4f%12 [2a01:4f8::5]:80 2A01:04f8:0:0:0:0:0:5", "gw=2001:db8::1%12 [2001:db8::2]:80 2001:db8::2"},
        {"::1 :: Error::Message 12:05:09PM dead:beef ::ffff:10.0.0.9", "::1 :: Error::Message 12:05:09PM dead:beef ::ffff:240.0.0.1"},
        {"1:2:3:4:5:6:7:8 1:2:3:4:5:66:: 1:2:3:4:5:6:7", "2001:db8::1 2001:db8::2 1:2:3:4:5:6:7"},
        {"MAC 00-1A-2b-3C-4d-5E = 00:1a:2b:3c:4d:5e; 00:1a:2b:3c:4d", "MAC 02:00:00:00:00:01 = 02:00:00:00:00:01; 00:1a:2b:3c:4d"},
        {"S-1-5-21-111-222-333-1001 S-1-5-21-111-222-333 S-1-5-18 S-1-5-32-544 S-1-5-21-111-222-333-x",
         "S-1-5-21-0-0-1-1001 S-1-5-21-0-0-1 S-1-5-18 S-1-5-32-544 S-1-5-21-0-0-1-x"},
        {"Password=hunter2; dbpwd=x y PASSWD=\"q\" password= pwd", "Password=********; dbpwd=******** y PASSWD=\"********\" password= pwd"},
        {"acmesrv01$ \\\\ACMESRV01\\c$ xACMESRV01_HA.cab", "host0001$ \\\\host0001\\c$ xhost0001_HA.cab"},
        {"db1 db1.log db10 xdb1 db1-b", "host0003 host0003.log db10 xdb1 db1-b"},
        {"C:\\Users\\JDOE\\ntuser.dat secretproj-v2 mail@corp.acme.com", "C:\\Users\\user0001\\ntuser.dat keyword0001-v2 mail@domain0001.example"},
        {"Node Name: VM<BR>Skipping VM logs ...<BR>KDX/VM Version: 6<BR>VM Service is running<BR>",
         "Node Name: host0002<BR>Skipping VM logs ...<BR>KDX/VM Version: 6<BR>VM Service is running<BR>"},
        {"C:\\inc\\VM\\01012026__00-00-00\\VM\\kerd.log \\\\vm\\share vm.corp.acme.com VM.txt",
         "C:\\inc\\host0002\\01012026__00-00-00\\VM\\kerd.log \\\\host0002\\share host0002.domain0001.example VM.txt"},
        {"   ComputerName:      REG_SZ                         VM\r\n   Tool:  REG_SZ   VM\r\n",
         "   ComputerName:      REG_SZ                         host0002\r\n   Tool:  REG_SZ   VM\r\n"}};
    // With a line of blanks behind, each case is looked at a block at a time, as long texts are.
    const std::string blanks = "\n" + std::string(80, ' ');
    for (const auto& [text, rewritten] : cases) {
        EXPECT_EQ(rewritten, Machine().Rewrite(text)) << text;
        EXPECT_EQ(rewritten + blanks, Machine().Rewrite(text + blanks)) << text;
    }
}

TEST(RegistryDump, SecretValuesLoseTheirDataWithEveryLineOfIt) {
    const std::pair<const char*, const char*> lines[] = {
        {"~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\X]~~~", nullptr},
        {"[SOFTWARE\\X]", nullptr},
        {"   DbPassword:  REG_SZ  hunter2 10.0.0.1", "   DbPassword:  REG_SZ  ********"},
        {"   ApiTokens:  REG_MULTI_SZ  first", "   ApiTokens:  REG_MULTI_SZ  ********"},
        {"                             second", "                             ********"},
        {"   Secret:  REG_BINARY  <20 bytes of binary data follow>", "   Secret:  REG_BINARY  ********"},
        {"             68 75 6e 74 65 72 32 00 00 00 00 00 00 00 00 00   hunter2.........", "             ********"},
        {"             00 00 00 00                                       ....", "             ********"},
        {"   Server:  REG_SZ  10.0.0.1", "   Server:  REG_SZ  240.0.0.1"},
        {"   [Sub]", nullptr}};
    std::string dump;
    std::string expected;
    for (const auto& [line, rewritten] : lines) {
        dump += line + std::string("\n");
        expected += (rewritten ? rewritten : line) + std::string("\n");
    }
    Machine machine;
    EXPECT_EQ(expected, machine.Rewrite(dump, true));
    EXPECT_EQ(6u, machine.counts[static_cast<size_t>(RedactionKind::kSecret)]);
    EXPECT_EQ(1u, machine.counts[static_cast<size_t>(RedactionKind::kIpv4Address)]);
}

// Rewrites the text as a file, through pieces of the size held in memory: it must come out
// as the whole text rewritten at once.
void ExpectStreamedAsWhole(const std::string& text, const std::string& what) {
    testing_support::ScopedWorkFolder folder;
    const std::string path = folder.Path() + "\\edge.txt";
    testing_support::WriteWholeFile(path, text);
    Machine streamed;
    redact::TextRewriter rewriter(streamed.names, streamed.standIns, streamed.counts, false);
    ASSERT_EQ(redact::FileVerdict::kRewritten, redact::RewriteFile(path, rewriter, NoFloor()).verdict) << what;
    EXPECT_EQ(Machine().Rewrite(text), testing_support::ReadWholeFile(path)) << what;
}

// A token at any place across the piece's edge, on a line longer than the piece, is found;
// so is a name after a run of word characters longer than the piece, without a blank.
TEST(FileRewriter, TokensAcrossThePiecesEdgeAreReplaced) {
    const char* tokens[] = {"ACMESRV01", "10.20.30.40", "fe80::1:2:3", "00:1a:2b:3c:4d:5e", "password=hunter2",
                            "S-1-5-21-7-8-9-500", "db1"};
    for (const char* token : tokens) {
        for (size_t before = redact::kPieceBytes - 12; before <= redact::kPieceBytes + 1; ++before) {
            const std::string text = std::string(before - 1, 'x') + " " + token + " " + std::string(100, 'y') + "\n";
            ExpectStreamedAsWhole(text, token + (" at " + std::to_string(before)));
            ASSERT_EQ(std::string::npos, Machine().Rewrite(text).find(token)) << token;
        }
    }
    ExpectStreamedAsWhole(std::string(3 * redact::kPieceBytes, 'a') + "ACMESRV01" + std::string(50, 'b'), "no blank");
}

TEST(FileRewriter, WhatIsNotTextIsLeftAsItWasAndSaidWhy) {
    testing_support::ScopedWorkFolder folder;
    const std::pair<std::string, const char*> cases[] = {
        {std::string("ACMESRV01\0\1\2", 12), "binary: it holds NUL bytes"},
        {std::string("\xff\xfeV\0M\0", 6), "UTF-16 text, which the redaction does not read"},
        {std::string(60, 'A') + "\x01\x02" + "ACMESRV01", "binary: it holds control characters"},
    };
    for (const auto& [bytes, reason] : cases) {
        const std::string path = folder.Path() + "\\blob.bin";
        testing_support::WriteWholeFile(path, bytes);
        Machine machine;
        redact::TextRewriter rewriter(machine.names, machine.standIns, machine.counts, false);
        const redact::FileRewrite result = redact::RewriteFile(path, rewriter, NoFloor());
        EXPECT_EQ(redact::FileVerdict::kBinary, result.verdict) << reason;
        EXPECT_EQ(reason, result.reason);
        EXPECT_EQ(bytes, testing_support::ReadWholeFile(path));
        EXPECT_FALSE(testing_support::PathExists(path + ".redacting"));
    }
}

}  // namespace
