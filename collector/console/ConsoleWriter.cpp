#include "console/ConsoleWriter.h"

#include "common/win32/AnsiText.h"

namespace console {

namespace {

// A handle the process writes to as it is: a file, a pipe, a console or a device such as NUL
// (output sent there on purpose is swallowed, not shown elsewhere). A GUI program started
// without redirection has no standard output at all.
bool IsWritableOutput(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    DWORD type = ::GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != FALSE;
}

bool WriteWideToConsole(HANDLE console, const std::wstring& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!::WriteConsoleW(console, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

// A console shows bytes in its own (OEM) code page; the program's texts are in the ANSI one.
bool WriteToConsole(HANDLE console, const std::string& bytes) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) return false;
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return WriteWideToConsole(console, text);
}

HANDLE DuplicateForWriting(HANDLE handle) {
    HANDLE copy = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

}  // namespace

ConsoleWriter::ConsoleWriter(HANDLE output) {
    if (output != nullptr && output != INVALID_HANDLE_VALUE) output_.reset(DuplicateForWriting(output));
}

ConsoleWriter::~ConsoleWriter() {
    output_.reset();
    if (attached_) ::FreeConsole();
}

void ConsoleWriter::OpenForProcess() {
    if (Usable()) return;
    if (!TakeStandardOutput()) AttachParentConsole();
}

bool ConsoleWriter::TakeStandardOutput() {
    HANDLE standardOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (!IsWritableOutput(standardOutput)) return false;
    output_.reset(DuplicateForWriting(standardOutput));
    return Usable();
}

bool ConsoleWriter::AttachParentConsole() {
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    attached_ = true;
    // The prompt the run was started from is back while it runs: a Ctrl+C typed there must
    // not end the collection half-way.
    ::SetConsoleCtrlHandler(nullptr, TRUE);
    HANDLE screen = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    if (screen != INVALID_HANDLE_VALUE) output_.reset(screen);
    return Usable();
}

std::string ConsoleWriter::LineBytes(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) bytes += '\r';
        bytes += text[i];
    }
    bytes += "\r\n";
    return bytes;
}

std::string ConsoleWriter::OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    bool inBreak = false;
    for (char c : text) {
        const bool isBreak = c == '\r' || c == '\n';
        if (!isBreak) {
            line += c;
        } else if (!inBreak) {
            line += ' ';
        }
        inBreak = isBreak;
    }
    // A break at the very end ends the line and needs no blank.
    if (inBreak) line.pop_back();
    return line;
}

bool ConsoleWriter::WriteLine(const std::string& text) {
    if (!Usable()) return false;
    std::lock_guard<std::recursive_mutex> lock(lines_);
    const std::string bytes = LineBytes(text);
    if (IsConsole(output_.get())) return WriteToConsole(output_.get(), bytes);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(output_.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                         nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

bool ConsoleWriter::WriteLine(const std::wstring& text) {
    if (!Usable()) return false;
    std::lock_guard<std::recursive_mutex> lock(lines_);
    if (!IsConsole(output_.get())) return WriteLine(win32::AnsiText(text));
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) line += L'\r';
        line += text[i];
    }
    return WriteWideToConsole(output_.get(), line + L"\r\n");
}

}  // namespace console
