#include <iterator>

#include "eventlog/EventText.h"

namespace {

struct TypeName {
    WORD type;
    const char* text;
};

constexpr TypeName kTypeNames[] = {
    {EVENTLOG_ERROR_TYPE, "ERROR"},
    {EVENTLOG_WARNING_TYPE, "WARNING"},
    {EVENTLOG_INFORMATION_TYPE, "INFORMATION"},
    {EVENTLOG_AUDIT_SUCCESS, "AUDIT SUCCESS"},
    {EVENTLOG_AUDIT_FAILURE, "AUDIT FAILURE"},
};

}  // namespace

const char* EventTypeName(WORD type) {
    for (const TypeName& name : kTypeNames)
        if (name.type == type) return name.text;
    return "NONE";
}
