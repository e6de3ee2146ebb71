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
// sub-folder name (host0002), a short host "db1" (host0003), hosts "storage" and "mail" of its
// hosts file (host0004, host0005), the domain corp.acme.com and its parent, users "jdoe",
// "admin" and "Jürgen" (also as the ANSI code page writes it) and the keywords SecretProj and
// CORP; the run folder's machine level is "\inc\VM\".
struct Machine {
    NameTable names;
    StandInMap standIns;
    redact::ReplacementCounts counts{};
    Machine() {
        const redact::Identity identities[] = {
            {RedactionKind::kHostName, "ACMESRV01", true}, {RedactionKind::kHostName, "VM"},
            {RedactionKind::kHostName, "db1"},             {RedactionKind::kDomainName, "corp.acme.com"},
            {RedactionKind::kUserName, "jdoe"},            {RedactionKind::kKeyword, "SecretProj"},
            {RedactionKind::kHostName, "storage"},         {RedactionKind::kHostName, "mail"},
            {RedactionKind::kUserName, "admin"},           {RedactionKind::kKeyword, "CORP"},
            {RedactionKind::kDomainName, "acme.com"},      {RedactionKind::kUserName, "J\xc3\xbcrgen"},
            {RedactionKind::kUserName, "J\xfcrgen", false, "J\xc3\xbcrgen"}};
        for (const redact::Identity& identity : identities) {
            names.Add(identity);
            standIns.StandIn(identity.kind, identity.standsFor.empty() ? identity.name : identity.standsFor);
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
        // A version is a labelled value; a word "version" earlier on the line makes none.
        {"<?xml version=\"1.0\"?><a ip=\"10.9.8.7\"/> {\"version\":2,\"ip\":\"10.9.8.6\"} TLS version 1.2 to 10.9.8.5",
         "<?xml version=\"1.0\"?><a ip=\"240.0.0.1\"/> {\"version\":2,\"ip\":\"240.0.0.2\"} TLS version 1.2 to 240.0.0.3"},
        {"Conversion 10.9.8.4 VersionCheckServer: 10.9.8.3 \"ProductVersion\": \"10.0.17763.1\" Product version 6.3.9600.1",
         "Conversion 240.0.0.1 VersionCheckServer: 240.0.0.2 \"ProductVersion\": \"10.0.17763.1\" Product version 6.3.9600.1"},
        {"   DriverVersion:  REG_SZ  10.0.0.2\n   os_version=6.1.0.7 Conversion: 10.0.0.3",
         "   DriverVersion:  REG_SZ  10.0.0.2\n   os_version=6.1.0.7 Conversion: 240.0.0.1"},
        {"gw=fe80::1c2d:3e4f%12 [2a01:4f8::5]:80 2A01:04f8:0:0:0:0:0:5", "gw=2001:db8::1%12 [2001:db8::2]:80 2001:db8::2"},
        {"::1 :: Error::Message 12:05:09PM dead:beef ::ffff:10.0.0.9", "::1 :: Error::Message 12:05:09PM dead:beef ::ffff:240.0.0.1"},
        {"1:2:3:4:5:6:7:8 1:2:3:4:5:66:: 1:2:3:4:5:6:7", "2001:db8::1 2001:db8::2 1:2:3:4:5:6:7"},
        // After a label's colon, before a full stop or "-", a label's trailing colon; one address
        // however its zero groups are written.
        {"addr:fe80::1 IPv6Address:2a01:4f8::5 at fe80::2. fe80::3-eth0 fe80::4: x: x1:fe80::9 0:0:0:0:0:0:0:5 ::5 0::0:5",
         "addr:2001:db8::1 IPv6Address:2001:db8::2 at 2001:db8::3. 2001:db8::4-eth0 2001:db8::5: x: x1:2001:db8::6 "
         "2001:db8::7 2001:db8::7 2001:db8::7"},
        {"MAC 00-1A-2b-3C-4d-5E = 00:1a:2b:3c:4d:5e; 00:1a:2b:3c:4d", "MAC 02:00:00:00:00:01 = 02:00:00:00:00:01; 00:1a:2b:3c:4d"},
        // MACs in dotted form, and as twelve digits where named; Fibre Channel names.
        {"MAC:001a2b3c4d5e at 001A.2B3C.4D5E = 00:1A:2B:3C:4D:5E id 001a2b3c4d5f build 2020.1001.1234 00:1a:2b:3c:4d:5ex "
         "GUID 00000000-0000-0000-0000-001a2b3c4d5e port 001a.2b3c.4d60",
         "MAC:02:00:00:00:00:01 at 02:00:00:00:00:01 = 02:00:00:00:00:01 id 001a2b3c4d5f build 2020.1001.1234 00:1a:2b:3c:4d:5ex "
         "GUID 00000000-0000-0000-0000-001a2b3c4d5e port 02:00:00:00:00:02"},
        {"id 001a.2b3c.4d5e.x", "id 001a.2b3c.4d5e.x"},
        {"   NetworkAddress:  REG_SZ  001A2B3C4D60\nwwpn 50:06:01:60:3b:20:19:e8 21-00-00-24-ff-4c-aa-01 1:2:3:4:5:6:7:8:9",
         "   NetworkAddress:  REG_SZ  02:00:00:00:00:01\nwwpn 50:00:00:00:00:00:00:01 50:00:00:00:00:00:00:02 1:2:3:4:5:6:7:8:9"},
        {"S-1-5-21-111-222-333-1001 S-1-5-21-111-222-333 S-1-5-18 S-1-5-32-544 S-1-5-21-111-222-333-x",
         "S-1-5-21-0-0-1-1001 S-1-5-21-0-0-1 S-1-5-18 S-1-5-32-544 S-1-5-21-0-0-1-x"},
        {"Password=hunter2; dbpwd=x y PASSWD=\"q\" password= pwd pwd Password expired",
         "Password=********; dbpwd=******** y PASSWD=\"********\" password= ******** pwd Password expired"},
        {"password: a1 Password = b2; PWD:c3 passwd d4 {\"password\": \"e5\"} <Password>f 6</Password> ftp://bob:g7@h",
         "password: ******** Password = ********; PWD:******** passwd ******** {\"password\": \"********\"} "
         "<Password>********</Password> ftp://bob:********@h"},
        {"ClientSecret=h8 access_token=i9 api_key: j0 Authorization: Basic k1= Authorization: Bearer l2 http://x:80/p",
         "ClientSecret=******** access_token=******** api_key: ******** Authorization: Basic ******** Authorization: Bearer "
         "******** http://x:80/p"},
        {"net use Z: \\\\srv\\s m3 /user:x\nnet use * /delete\ncmdkey /add:srv /user:x /pass:n4",
         "net use Z: \\\\srv\\s ******** /user:x\nnet use * /delete\ncmdkey /add:srv /user:x /pass:********"},
        // The machine's own name inside compounds; other names as whole words only.
        {"acmesrv01$ \\\\ACMESRV01\\c$ ACMESRV01_HA.cab ACMESRV01-kerd.log xACMESRV01",
         "host0001$ \\\\host0001\\c$ host0001_HA.cab host0001-kerd.log xACMESRV01"},
        {"db1 db1.log db10 xdb1 db1-b db1_b", "host0003 host0003.log db10 xdb1 host0003-b db1_b"},
        {"StorageAgent email Administrators Corporation storage mail admin CORP\\jdoe",
         "StorageAgent email Administrators Corporation host0004 host0005 user0002 keyword0002\\user0001"},
        {"J\xc3\xbcrgen J\xfcrgen J\xc3\xbcrgens", "user0003 user0003 J\xc3\xbcrgens"},
        {"C:\\Users\\JDOE\\ntuser.dat secretproj-v2 mail@corp.acme.com",
         "C:\\Users\\user0001\\ntuser.dat keyword0001-v2 host0005@domain0001.example"},
        // Every host of the machine's domains, as a whole name.
        {"dc01.corp.acme.com web.dmz.corp.acme.com \\\\FS9.acme.com\\x jdoe@acme.com",
         "host0006.domain0001.example host0007.domain0001.example \\\\host0008.domain0002.example\\x user0001@domain0002.example"},
        {"Node Name: VM<BR>Skipping VM logs ...<BR>KDX/VM Version: 6<BR>VM Service is running<BR>",
         "Node Name: host0002<BR>Skipping VM logs ...<BR>KDX/VM Version: 6<BR>VM Service is running<BR>"},
        {"C:\\inc\\VM\\01012026__00-00-00\\VM\\kerd.log \\\\vm\\share vm.corp.acme.com VM.txt",
         "C:\\inc\\host0002\\01012026__00-00-00\\VM\\kerd.log \\\\host0002\\share host0002.domain0001.example VM.txt"},
        {"   ComputerName:      REG_SZ                         VM\r\n   Tool:  REG_SZ   VM\r\n",
         "   ComputerName:      REG_SZ                         host0002\r\n   Tool:  REG_SZ   VM\r\n"}};
    // With a line of blanks behind, each case is looked at a block at a time, as long texts are.
    std::string blanks(81, ' ');
    blanks[0] = '\n';
    for (const auto& [text, rewritten] : cases) {
        EXPECT_EQ(rewritten, Machine().Rewrite(text)) << text;
        EXPECT_EQ(rewritten + blanks, Machine().Rewrite(text + blanks)) << text;
    }
    // An IPv6 address stands in the map as RFC 5952 writes it.
    Machine machine;
    machine.Rewrite("0:0:0:0:0:0:0:5 1:0:0:2:0:0:0:3 1:0:2:0:0:3:0:4");
    std::vector<std::string> originals;
    for (const redact::StandInEntry& entry : machine.standIns.Used())
        if (entry.kind == RedactionKind::kIpv6Address) originals.push_back(entry.original);
    EXPECT_EQ((std::vector<std::string>{"::5", "1:0:0:2::3", "1:0:2::3:0:4"}), originals);
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
        {"   AdminPass:  REG_SZ  a", "   AdminPass:  REG_SZ  ********"},
        {"   PassPhrase:  REG_SZ  b", "   PassPhrase:  REG_SZ  ********"},
        {"   ApiKey:  REG_SZ  c", "   ApiKey:  REG_SZ  ********"},
        {"   Credential:  REG_SZ  d", "   Credential:  REG_SZ  ********"},
        {"   Conn:  REG_SZ  Server=s; Password = e f;", "   Conn:  REG_SZ  Server=s; Password = ******** f;"},
        {"   BypassList:  REG_SZ  10.0.0.1", "   BypassList:  REG_SZ  240.0.0.1"},
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
    EXPECT_EQ(11u, machine.counts[static_cast<size_t>(RedactionKind::kSecret)]);
    EXPECT_EQ(2u, machine.counts[static_cast<size_t>(RedactionKind::kIpv4Address)]);
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
                            "S-1-5-21-7-8-9-500", "db1", "ftp://a:hunter2@b", "001a.2b3c.4d5e"};
    for (const char* token : tokens) {
        for (size_t before = redact::kPieceBytes - 12; before <= redact::kPieceBytes + 1; ++before) {
            const std::string text = std::string(before - 1, 'x') + " " + token + " " + std::string(100, 'y') + "\n";
            ExpectStreamedAsWhole(text, token + (" at " + std::to_string(before)));
            ASSERT_EQ(std::string::npos, Machine().Rewrite(text).find(token)) << token;
        }
    }
    ExpectStreamedAsWhole(std::string(3 * redact::kPieceBytes, 'a') + " ACMESRV01" + std::string(50, '-'), "no blank");
    // A log cut short by a crash, padded with NULs to its end, is still text.
    ExpectStreamedAsWhole("ACMESRV01 up\n" + std::string(redact::kPieceBytes + 7, '\0'), "NUL padding");
}

TEST(FileRewriter, WhatIsNotTextIsLeftAsItWasAndSaidWhy) {
    testing_support::ScopedWorkFolder folder;
    const std::pair<std::string, const char*> cases[] = {
        {std::string("ACMESRV01\0\1\2", 12), "binary: it holds NUL bytes"},
        {std::string("\xff\xfeV\0M\0", 6), "UTF-16 text, which the redaction does not read"},
        {std::string(60, 'A') + "\x01\x02" + "ACMESRV01", "binary: it holds control characters"},
        {"ACMESRV01\n" + std::string(redact::kPieceBytes, '\0') + "x", "binary: it holds NUL bytes"},
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
