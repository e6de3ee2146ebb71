#include "WbemStatusName.h"

#include <cwchar>
#include <iterator>

namespace {

struct StatusRun {
    unsigned long first;          // code of the first name; the others follow one by one
    const wchar_t* const* names;
    size_t count;
};

const wchar_t* const kSuccess[] = {L"WBEM_NO_ERROR/WBEM_S_NO_ERROR/WBEM_S_SAME", L"WBEM_S_FALSE"};

const wchar_t* const kSuccessInformation[] = {
    L"WBEM_S_ALREADY_EXISTS", L"WBEM_S_RESET_TO_DEFAULT", L"WBEM_S_DIFFERENT", L"WBEM_S_TIMEDOUT",
    L"WBEM_S_NO_MORE_DATA",   L"WBEM_OPERATION_CANCELLED", L"WBEM_S_PENDING",  L"WBEM_S_DUPLICATE_OBJECTS",
};

const wchar_t* const kErrors[] = {
    L"WBEM_E_FAILED",
    L"WBEM_E_NOT_FOUND",
    L"WBEM_E_ACCESS_DENIED",
    L"WBEM_E_PROVIDER_FAILURE",
    L"WBEM_E_TYPE_MISMATCH",
    L"WBEM_E_OUT_OF_MEMORY",
    L"WBEM_E_INVALID_CONTEXT",
    L"WBEM_E_INVALID_PARAMETER",
    L"WBEM_E_NOT_AVAILABLE",
    L"WBEM_E_CRITICAL_ERROR",
    L"WBEM_E_INVALID_STREAM",
    L"WBEM_E_NOT_SUPPORTED",
    L"WBEM_E_INVALID_SUPERCLASS",
    L"WBEM_E_INVALID_NAMESPACE",
    L"WBEM_E_INVALID_OBJECT",
    L"WBEM_E_INVALID_CLASS",
    L"WBEM_E_PROVIDER_NOT_FOUND",
    L"WBEM_E_INVALID_PROVIDER_REGISTRATION",
    L"WBEM_E_PROVIDER_LOAD_FAILURE",
    L"WBEM_E_INITIALIZATION_FAILURE",
    L"WBEM_E_TRANSPORT_FAILURE",
    L"WBEM_E_INVALID_OPERATION",
    L"WBEM_E_INVALID_QUERY",
    L"WBEM_E_INVALID_QUERY_TYPE",
    L"WBEM_E_ALREADY_EXISTS",
    L"WBEM_E_OVERRIDE_NOT_ALLOWED",
    L"WBEM_E_PROPAGATED_QUALIFIER",
    L"WBEM_E_PROPAGATED_PROPERTY",
    L"WBEM_E_UNEXPECTED",
    L"WBEM_E_ILLEGAL_OPERATION",
    L"WBEM_E_CANNOT_BE_KEY",
    L"WBEM_E_INCOMPLETE_CLASS",
    L"WBEM_E_INVALID_SYNTAX",
    L"WBEM_E_NONDECORATED_OBJECT",
    L"WBEM_E_READ_ONLY",
    L"WBEM_E_PROVIDER_NOT_CAPABLE",
    L"WBEM_E_CLASS_HAS_CHILDREN",
    L"WBEM_E_CLASS_HAS_INSTANCES",
    L"WBEM_E_QUERY_NOT_IMPLEMENTED",
    L"WBEM_E_ILLEGAL_NULL",
    L"WBEM_E_INVALID_QUALIFIER_TYPE",
    L"WBEM_E_INVALID_PROPERTY_TYPE",
    L"WBEM_E_VALUE_OUT_OF_RANGE",
    L"WBEM_E_CANNOT_BE_SINGLETON",
    L"WBEM_E_INVALID_CIM_TYPE",
    L"WBEM_E_INVALID_METHOD",
    L"WBEM_E_INVALID_METHOD_PARAMETERS",
    L"WBEM_E_SYSTEM_PROPERTY",
    L"WBEM_E_INVALID_PROPERTY",
    L"WBEM_E_CALL_CANCELLED",
    L"WBEM_E_SHUTTING_DOWN",
    L"WBEM_E_PROPAGATED_METHOD",
    L"WBEM_E_UNSUPPORTED_PARAMETER",
    L"WBEM_E_MISSING_PARAMETER_ID",
    L"WBEM_E_INVALID_PARAMETER_ID",
    L"WBEM_E_NONCONSECUTIVE_PARAMETER_IDS",
    L"WBEM_E_PARAMETER_ID_ON_RETVAL",
    L"WBEM_E_INVALID_OBJECT_PATH",
};

const wchar_t* const kEventSubsystem[] = {L"WBEMESS_E_REGISTRATION_TOO_BROAD", L"WBEMESS_E_REGISTRATION_TOO_PRECISE"};

const StatusRun kStatusTable[] = {
    {0x0UL, kSuccess, std::size(kSuccess)},
    {0x40001UL, kSuccessInformation, std::size(kSuccessInformation)},
    {0x80041001UL, kErrors, std::size(kErrors)},
    {0x80042001UL, kEventSubsystem, std::size(kEventSubsystem)},
};

}  // namespace

std::wstring WbemStatusName(HRESULT status) {
    unsigned long code = static_cast<unsigned long>(status);
    for (const StatusRun& run : kStatusTable) {
        if (code >= run.first && code - run.first < run.count) return run.names[code - run.first];
    }
    wchar_t text[2 + 8 + 1] = {};  // "0x", eight digits, terminator
    std::swprintf(text, std::size(text), L"0x%lx", code);
    return text;
}
