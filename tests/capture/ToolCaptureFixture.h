#pragma once
// A started collection in a work folder, with the stand-in tool at hand: each start of it is
// recorded in the work folder's "stub.log", so tests see the exact command lines.
#include <cstdio>
#include <initializer_list>

#include "../probes/ProbeFixture.h"

using Lines = std::vector<std::string>;

inline Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What the direct start writes for a child that ran and ended with `status`.
inline Lines Waited(DWORD status) {
    char line[64];
    std::snprintf(line, sizeof line, "Termination status: 0x%08x", static_cast<unsigned>(status));
    return {"Waiting for the process to terminate ...", line};
}

inline Lines FoundLines(const std::string& path) {
    return {"Start - IsFileExists " + path, path + " is available", "Finish - IsFileExists Error = 0"};
}

inline Lines MissingLines(const std::string& path) {
    return {"Start - IsFileExists " + path, "FindFirstFile() FAILED-> " + GetErrorText(ERROR_FILE_NOT_FOUND),
            "Finish - IsFileExists Error = 2"};
}

inline Lines GrabLines(const std::string& source, const std::string& target, const std::string& failure = "",
                       int code = 0) {
    Lines lines = {"Start - GrabFile", "Source File: " + source, "Target File: " + target};
    if (!failure.empty()) lines.push_back(failure);
    lines.push_back("Finish - GrabFile.  Error = " + std::to_string(code));
    return lines;
}

// The refusal of a command line longer than the 261-character buffer.
inline std::string RefusedLine(const std::string& commandLine) {
    return "Command line too long (" + std::to_string(commandLine.size()) + " characters, at most 261), not run: " +
           commandLine.substr(0, 200) + "...";
}

class ToolCaptureTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        work = folder.Path();
        stubLog = work + "\\stub.log";
        ::SetEnvironmentVariableA("ZELTRIN_STUB_LOG", stubLog.c_str());
        ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", nullptr);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("ZELTRIN_STUB_LOG", nullptr);
        ::SetEnvironmentVariableA("ZELTRIN_STUB_EXIT", nullptr);
    }

    // Puts the stand-in tool at `relative` in the work folder; returns its full path.
    std::string PlaceTool(const std::string& relative) {
        std::string path = work + "\\" + relative;
        EXPECT_TRUE(::CopyFileA((testing_support::ProgramFolder() + "\\zeltrin-stub-tool.exe").c_str(), path.c_str(),
                                FALSE))
            << path;
        return path;
    }

    std::string MakeFolder(const std::string& relative) {
        std::string path = work + "\\" + relative;
        ::CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }

    // "<tool>|<command line>" for every start of the stand-in tool, in order.
    Lines StubStarts() const {
        Lines starts;
        if (!testing_support::PathExists(stubLog)) return starts;
        std::string all = testing_support::ReadWholeFile(stubLog);
        for (size_t at = 0; at < all.size();) {
            size_t end = all.find("\r\n", at);
            if (end == std::string::npos) end = all.size();
            starts.push_back(all.substr(at, end - at));
            at = end + 2;
        }
        return starts;
    }

    std::string work;
    std::string stubLog;
};
