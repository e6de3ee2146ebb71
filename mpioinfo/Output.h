#pragma once
// The one way qdsminfo writes: standard output and standard error go through a sink, the
// console by default, so that a test can take the exact bytes instead.
#include <string>
#include <string_view>

#include "common/text/Format.h"

class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual void Out(std::string_view bytes) = 0;
    virtual void Err(std::string_view bytes) = 0;
};

// Installs a sink (nullptr: the console again) and returns the one it replaces.
OutputSink* SetOutputSink(OutputSink* sink);

// What the C runtime's narrow printf would write to standard output / standard error.
void PrintNarrow(std::string_view text);
void PrintError(std::string_view text);

// Wide text to standard output in the console's OEM code page; returns the bytes written.
size_t PrintWide(std::wstring_view text);

// printf-style formatting into a narrow text.
using text::Format;

// A wide text as the narrow printf's "%S" writes it: in the ANSI code page.
std::string AnsiText(std::wstring_view text);
// An ASCII text widened character by character.
std::wstring Widen(std::string_view ascii);
