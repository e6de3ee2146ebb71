// The console writer over a pipe and over a file, and what it makes of line ends.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"
#include "console/ConsoleWriter.h"

using console::ConsoleWriter;
using testing_support::ReadWholeFile;
using testing_support::ScopedWorkFolder;

namespace {

std::string DrainPipe(HANDLE reading) {
    std::string bytes;
    char buffer[256];
    DWORD got = 0;
    while (::ReadFile(reading, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

}  // namespace

TEST(ConsoleWriter, LinesThroughAPipeEndInCarriageReturnLineFeed) {
    win32::UniqueKernelHandle reading;
    win32::UniqueKernelHandle writing;
    ASSERT_TRUE(::CreatePipe(reading.put(), writing.put(), nullptr, 0));
    {
        ConsoleWriter writer(writing.get());
        ASSERT_TRUE(writer.Usable());
        EXPECT_TRUE(writer.WriteLine("[ 7/25] Capturing QzOKAPO* ..."));
        EXPECT_TRUE(writer.WriteLine(""));
    }
    // The writer kept a copy of its own: the pipe ends once the test's end is closed too.
    writing.reset();
    EXPECT_EQ(DrainPipe(reading.get()), "[ 7/25] Capturing QzOKAPO* ...\r\n\r\n");
}

TEST(ConsoleWriter, LinesGoToTheEndOfAFileAndTheCallerKeepsItsHandle) {
    ScopedWorkFolder folder;
    win32::UniqueFile file(::CreateFileA("console.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    {
        ConsoleWriter writer(file.get());
        EXPECT_TRUE(writer.WriteLine("Run folder: C:\\123456\\NODE\\12072026__03-00-00"));
    }
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file.get(), "after\r\n", 7, &written, nullptr));
    file.reset();
    EXPECT_EQ(ReadWholeFile("console.txt"), "Run folder: C:\\123456\\NODE\\12072026__03-00-00\r\nafter\r\n");
}

TEST(ConsoleWriter, ABoxTextOfSeveralLinesKeepsItsLinesWithCarriageReturns) {
    EXPECT_EQ(ConsoleWriter::LineBytes("Could not move a to b. \n\nHowever"),
              "Could not move a to b. \r\n\r\nHowever\r\n");
    EXPECT_EQ(ConsoleWriter::LineBytes("one\r\ntwo"), "one\r\ntwo\r\n");
    EXPECT_EQ(ConsoleWriter::LineBytes("\n"), "\r\n\r\n");
}

TEST(ConsoleWriter, AnEntryQuotingASystemMessageBecomesOneLine) {
    EXPECT_EQ(ConsoleWriter::OneLine("Failed to copy!!! Path not found.\r\nError = 3"),
              "Failed to copy!!! Path not found. Error = 3");
    EXPECT_EQ(ConsoleWriter::OneLine("REASON: Access denied.\r\n"), "REASON: Access denied.");
    EXPECT_EQ(ConsoleWriter::OneLine("a\n\nb\rc"), "a b c");
    EXPECT_EQ(ConsoleWriter::OneLine("plain"), "plain");
}

TEST(ConsoleWriter, WithoutAnOutputNothingIsWrittenAndNothingFails) {
    ConsoleWriter nowhere;
    EXPECT_FALSE(nowhere.Usable());
    EXPECT_FALSE(nowhere.WriteLine("lost"));
    ConsoleWriter invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.Usable());
}

TEST(ConsoleWriter, AClosedPipeFailsTheWriteInsteadOfHanging) {
    win32::UniqueKernelHandle reading;
    win32::UniqueKernelHandle writing;
    ASSERT_TRUE(::CreatePipe(reading.put(), writing.put(), nullptr, 0));
    ConsoleWriter writer(writing.get());
    reading.reset();
    EXPECT_FALSE(writer.WriteLine("nobody reads this"));
}

TEST(ConsoleWriter, StandardOutputSentToTheNullDeviceIsTakenAndSwallowsTheLines) {
    win32::UniqueFile nul(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
    ASSERT_TRUE(nul);
    HANDLE previous = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_TRUE(::SetStdHandle(STD_OUTPUT_HANDLE, nul.get()));
    ConsoleWriter writer;
    writer.OpenForProcess();
    ::SetStdHandle(STD_OUTPUT_HANDLE, previous);
    // Taken, not replaced by the parent's console: "> NUL" asked for the lines to go.
    ASSERT_TRUE(writer.Usable());
    EXPECT_TRUE(writer.WriteLine("Failures: 0"));
}

TEST(ConsoleWriter, TheProcessStandardOutputIsTakenWhenItIsAFile) {
    ScopedWorkFolder folder;
    win32::UniqueFile file(::CreateFileA("stdout.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    HANDLE previous = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_TRUE(::SetStdHandle(STD_OUTPUT_HANDLE, file.get()));
    {
        ConsoleWriter writer;
        writer.OpenForProcess();
        ::SetStdHandle(STD_OUTPUT_HANDLE, previous);
        ASSERT_TRUE(writer.Usable());
        EXPECT_TRUE(writer.WriteLine("Failures: 0"));
    }
    file.reset();
    EXPECT_EQ(ReadWholeFile("stdout.txt"), "Failures: 0\r\n");
}
