#pragma once
#include <windows.h>

#include <string>

// The operating system's version as the collector sees it. It is read through this one
// function so every version branch (Windows 2000 too, which no 64-bit Wine can pretend to
// be) can be exercised.
struct OsVersionInfo {
    DWORD platformId = 0;
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    std::string servicePack;
};

using OsVersionReader = OsVersionInfo (*)();

OsVersionInfo ReadSystemOsVersion();
