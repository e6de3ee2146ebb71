#pragma once
#include <span>
#include <string>

#include "RunState.h"

struct ClassTableRow {
    const wchar_t* key;
    const wchar_t* className;
    InstancePrinter printer;
    bool firstInstanceOnly;
};

std::span<const ClassTableRow> ClassTable();

// Makes the class of the row with this key (any case) the current class with its printer; an
// unknown request is taken as a class name printed with every property. Always 0.
int SelectClass(const std::wstring& request);

extern const wchar_t kWmiNamespace[];
