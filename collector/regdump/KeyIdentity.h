#pragma once
// Which key an open registry handle really is. A subkey that is a link opens the key it points
// to, so a link back up the tree opens a key whose block is still being written.
#include <windows.h>

#include <string>

namespace regdump {

// The key's full name in the registry with every link resolved; empty when the system does
// not tell.
std::wstring RealKeyName(HKEY key);

}  // namespace regdump
