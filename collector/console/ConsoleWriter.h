#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <string_view>

#include "common/win32/UniqueHandle.h"

namespace console {

// Where the program's own lines go when a prompt, a script or a scheduler starts it: its
// standard output when that leads to a file or a pipe, else the console of the program that
// started it. With neither, the lines go nowhere and nothing fails.
class ConsoleWriter {
public:
    ConsoleWriter() = default;  // writes nowhere until opened
    // Writes to a copy of this file or pipe handle; the caller keeps and closes its own.
    explicit ConsoleWriter(HANDLE output);
    ~ConsoleWriter();
    ConsoleWriter(const ConsoleWriter&) = delete;
    ConsoleWriter& operator=(const ConsoleWriter&) = delete;

    // The standard output of this process, or the parent's console; whichever comes first.
    void OpenForProcess();

    bool Usable() const noexcept { return static_cast<bool>(output_); }
    // One line, ended with CR LF; a line feed inside the text becomes CR LF as well, so a
    // box text of several lines reads as it did in its box. False when it could not be written.
    // Lines written from several threads at once come out whole, one after the other.
    bool WriteLine(const std::string& text);
    // The same for a text that may hold characters the ANSI code page lacks (what a user
    // typed): a console shows them; a file or pipe gets the ANSI bytes, "?" for those.
    bool WriteLine(const std::wstring& text);

    // The bytes WriteLine writes for a text.
    static std::string LineBytes(const std::string& text);
    // The text with each of its line breaks as one blank: a report entry quoting a system
    // message stays one line, so whoever reads the console counts one line per entry.
    static std::string OneLine(std::string_view text);

private:
    bool TakeStandardOutput();
    bool AttachParentConsole();

    win32::UniqueKernelHandle output_;
    bool attached_ = false;  // this writer attached the process to its parent's console
    std::recursive_mutex lines_;
};

}  // namespace console
