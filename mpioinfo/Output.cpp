#include "Output.h"

#include <windows.h>

#include <cstdio>

namespace {

class ConsoleSink final : public OutputSink {
public:
    void Out(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }
    void Err(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stderr); }
};

ConsoleSink console;
OutputSink* current = &console;

std::string Convert(UINT codePage, std::wstring_view text, bool& converted) {
    converted = true;
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    int needed = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        converted = false;
        return {};
    }
    std::string bytes(static_cast<size_t>(needed), '\0');
    if (::WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), needed, nullptr, nullptr) != needed) {
        converted = false;
        return {};
    }
    return bytes;
}

}  // namespace

OutputSink* SetOutputSink(OutputSink* sink) {
    OutputSink* previous = current == &console ? nullptr : current;
    current = sink != nullptr ? sink : &console;
    return previous;
}

void PrintNarrow(std::string_view text) { current->Out(text); }

void PrintError(std::string_view text) { current->Err(text); }

size_t PrintWide(std::wstring_view text) {
    bool converted = false;
    std::string bytes = Convert(CP_OEMCP, text, converted);
    if (!converted) bytes = "WideCharToMultiByte failed\n";
    current->Out(bytes);
    return bytes.size();
}

std::string AnsiText(std::wstring_view text) {
    bool converted = false;
    return Convert(CP_ACP, text, converted);
}

std::wstring Widen(std::string_view ascii) {
    std::wstring wide;
    wide.reserve(ascii.size());
    for (char c : ascii) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}
