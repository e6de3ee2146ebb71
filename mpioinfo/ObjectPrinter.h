#pragma once
// Turns WMI objects into text: property lines, value texts and nested blocks of embedded objects.
#include <windows.h>
#include <wbemcli.h>

#include <string>

#include "RunState.h"

// Indentation, the name, "*" for a key property, " = " and the value text.
std::wstring FormatProperty(IWbemClassObject* object, const wchar_t* name);

// A property value by its VARIANT type; the CIM type tells 64-bit integers carried as strings.
// Embedded objects are enumproperties' part: here they are a conversion error.
std::wstring FormatValue(CIMTYPE cimType, const VARIANT& value);

// One embedded object or an array of them, one level deeper than the property.
std::wstring enumproperties(const VARIANT& value);

// Every non-system property of an object, one line each.
std::wstring PrintAllProperties(IWbemClassObject* object);
