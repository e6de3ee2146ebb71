// qdsminfo.exe itself under Wine: started as the collector starts it, output read from its files.
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"

using namespace testing_support;

namespace {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

win32::UniqueFile Inheritable(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    return win32::UniqueFile(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Runs qdsminfo.exe with these arguments, its standard output and error in files of their own.
Finished RunQdsmInfo(const std::string& arguments) {
    ScopedWorkFolder folder;
    std::string outPath = folder.Path() + "\\out.txt";
    std::string errPath = folder.Path() + "\\err.txt";
    Finished finished;
    {
        win32::UniqueFile out = Inheritable(outPath);
        win32::UniqueFile err = Inheritable(errPath);
        if (!out || !err) {
            ADD_FAILURE() << "cannot make the output files";
            return finished;
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        PROCESS_INFORMATION process{};
        std::string line = "\"";
        line += ProgramFolder();
        line += "\\qdsminfo.exe\"";
        line += arguments;
        if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.Path().c_str(), &startup,
                              &process)) {
            ADD_FAILURE() << "cannot start " << line << ": error " << ::GetLastError();
            return finished;
        }
        win32::UniqueKernelHandle processHandle(process.hProcess);
        win32::UniqueKernelHandle thread(process.hThread);
        if (::WaitForSingleObject(processHandle.get(), 60000) != WAIT_OBJECT_0) {
            ::TerminateProcess(processHandle.get(), 99);
            ADD_FAILURE() << "qdsminfo.exe did not end";
            return finished;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(processHandle.get(), &code);
        finished.status = static_cast<int>(code);
    }
    finished.out = ReadWholeFile(outPath);
    finished.err = ReadWholeFile(errPath);
    return finished;
}

const char kUsage[] =
    "QDSMINFO - Displays QDSM configuration and MPIO information on a local machine \r\n\r\nSyntax: QDSMINFO  \r\n\r\n";

}  // namespace

TEST(QdsmInfoProgram, AnyArgumentPrintsOnlyTheUsageAndEndsWithOne) {
    for (const char* arguments : {" x", " /?", " -h extra"}) {
        Finished run = RunQdsmInfo(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(run.out, kUsage) << arguments;
        EXPECT_EQ(run.err, "") << arguments;
    }
}

// Wine's WMI connects to root\wmi but knows no system class there: the first section ends the
// run on the fatal path, after its banner.
TEST(QdsmInfoProgram, WithoutArgumentsWinesWmiLeadsToAbnormalTermination) {
    Finished run = RunQdsmInfo("");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "\r\n\r\n***** MPIO DISK INFORMATION *****\r\n\r\n"
              "Could not GetObject of __SystemClass in EnumNamespace\r\n"
              "FunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \r\n"
              "Abnormal Termination\r\n");
    EXPECT_EQ(run.err, "");
}
