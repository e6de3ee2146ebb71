#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "eventlog/EventRecord.h"

// The text of an event type: "ERROR", "WARNING", ..., "NONE" for any other code.
const char* EventTypeName(WORD type);

// The line that opens a record of the text export, up to and with its last tab: local date and
// time, type, the identifier's low 16 bits and all 32 bits, source and computer.
std::string FormatEventRecordLine(const EventRecord& record);

// The description written when no message file gives one, insertion strings included.
std::string UnresolvedDescription(const EventRecord& record);

// The highest insertion number ("%1" to "%99") that a message refers to; 0 for none.
int HighestInsertion(std::string_view message);
