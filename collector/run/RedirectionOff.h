#pragma once
#include <windows.h>

// Switches the 32-bit file-system redirection off for the life of the object when the
// program runs under WOW64, and puts it back on every way out. The two calls are looked up
// at run time: systems without WOW64 do not have them.
class RedirectionOff {
public:
    explicit RedirectionOff(int isWow64) noexcept;
    ~RedirectionOff();
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;

private:
    PVOID saved_ = nullptr;
    bool switchedOff_ = false;
};
