#pragma once
#include <windows.h>

#include <string>

namespace framework {

// The application's title: string 0xE000 of the program's resources, else the program's
// file name without its extension.
std::string ApplicationTitle();

// A message box; returns the button pressed. Called from any thread, it is shown by the
// owner's thread. While a MessageBoxReplacement is installed the box is not shown and the text
// goes to the replacement instead.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// A box whose text may hold characters the ANSI code page lacks (what a user typed); a
// MessageBoxReplacement takes the text as its ANSI code page has it.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::string& caption, UINT type);

// The text of a string resource of the program ("" when it is missing).
std::string LoadResourceString(UINT id);
std::wstring LoadResourceStringW(UINT id);

}  // namespace framework
