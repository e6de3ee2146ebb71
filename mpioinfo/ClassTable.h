#pragma once
#include <string>

#include "RunState.h"

// Makes the class of the row with this key (any case) the current class with its printer; an
// unknown request is taken as a class name printed with every property. Always 0.
int SelectClass(const std::wstring& request);
