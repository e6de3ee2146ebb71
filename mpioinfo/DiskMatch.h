#pragma once
#include <string>

// Finds the first listed disk whose key occurs in an InstanceName property text and prints its
// hard disk and MPIO disk numbers; when updating, the key becomes the instance name.
void MatchDiskRecord(const std::wstring& instanceNameText, bool updateKey);
