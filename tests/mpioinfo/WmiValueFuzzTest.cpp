// Seeded WMI objects for the object printer and the class printers: values of every VARIANT
// type, empty and null ones, arrays of every element type with any lower bound, empty arrays,
// arrays of more than one dimension, arrays that hold other elements than their type says,
// huge strings and strings with embedded zeros, 64-bit integers carried as text, single
// embedded objects and arrays of them nested a few levels deep, objects that are no WMI
// objects, and now and then a property a printer needs but the object lacks. Each object is
// printed by its class's printer and must give the documented lines, or the documented fatal
// report when the object cannot be printed.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <memory>

#include "ClassPrinters.h"
#include "Enumeration.h"
#include "ObjectPrinter.h"
#include "QdsmTest.h"
#include "SeedOnCrash.h"
#include "SeededCases.h"
#include "WmiDoubles.h"

using namespace testing_support;
using namespace wmi_doubles;

namespace {

constexpr int kCases = 500;
constexpr uint32_t kBaseSeed = 9200;
constexpr int kMaxDepth = 3;          // embedded objects within embedded objects
constexpr size_t kHugeString = 70000;  // far past any buffer of the printer's own

using Printer = std::wstring (*)(IWbemClassObject*);

// A printer and the properties it shows, in order; no properties: every non-system one.
struct PrinterRow {
    const wchar_t* className;
    Printer printer;
    std::vector<std::wstring> properties;
};

const std::vector<PrinterRow>& TopPrinters() {
    static const std::vector<PrinterRow> rows = {
        {L"MsDiskDriver_Performance", PrintAllProperties, {}},
        {L"MPIO_DISK_INFO", PrintMpioDiskInfo, {L"InstanceName", L"NumberDrives", L"DriveInfo"}},
        {L"MPIO_PATH_INFORMATION", PrintMpioPathInformation, {L"InstanceName", L"NumberPaths", L"PathList"}},
        {L"MPIO_CONTROLLER_CONFIGURATION", PrintMpioControllerConfiguration,
         {L"InstanceName", L"NumberControllers", L"ControllerInfo"}},
        {L"MPIO_TIMERS_COUNTERS", PrintMpioTimersCounters,
         {L"InstanceName", L"PathVerifyEnabled", L"PathVerificationPeriod", L"PDORemovePeriod", L"RetryCount",
          L"RetryInterval"}},
        {L"MPIO_GET_DESCRIPTOR", PrintMpioGetDescriptor, {L"InstanceName", L"NumberPdos", L"PdoInformation"}},
        {L"QDsmConfigInfo", PrintQDsmConfigInfo,
         {L"InstanceName", L"NumberArrays", L"NumberFOGroups", L"NumberMPGroups", L"NumberArrays",
          L"RegistryPersistenceAA", L"DsmDriverName"}},
        {L"QDsmArrayConfigInfo", PrintQDsmArrayConfigInfo, {L"InstanceName", L"arrayInfo"}},
        {L"QDsmGroupConfigInfo", PrintQDsmGroupConfigInfo, {L"InstanceName", L"groupInfo"}},
    };
    return rows;
}

// The embedded classes with printers of their own; every other class prints all its properties.
const std::vector<PrinterRow>& EmbeddedPrinters() {
    static const std::vector<PrinterRow> rows = {
        {L"PDO_INFORMATION", PrintPdoInformation,
         {L"ScsiAddress", L"DeviceState", L"PathIdentifier", L"IdentifierType", L"IdentifierLength", L"Identifier"}},
        {L"PDOSCSI_ADDR", PrintPdoScsiAddress, {L"PortNumber", L"ScsiPathId", L"TargetId", L"Lun"}},
        {L"SCSI_ADDR", PrintPdoScsiAddress, {L"PortNumber", L"ScsiPathId", L"TargetId", L"Lun"}},
        {L"MPIO_DRIVE_INFO", PrintMpioDriveInfo, {L"NumberPaths", L"Name", L"SerialNumber", L"DsmName"}},
        {L"MPIO_ADAPTER_INFORMATION", PrintMpioAdapterInformation,
         {L"PathId", L"BusNumber", L"DeviceNumber", L"FunctionNumber", L"AdapterName"}},
        {L"MPIO_CONTROLLER_INFO", PrintMpioControllerInfo,
         {L"IdentifierType", L"IdentifierLength", L"Identifier", L"ControllerState", L"AssociatedDsm"}},
    };
    return rows;
}

const PrinterRow kAllProperties = {L"", PrintAllProperties, {}};

const PrinterRow* EmbeddedRow(const std::wstring& className) {
    for (const PrinterRow& row : EmbeddedPrinters())
        if (className == row.className) return &row;
    return nullptr;
}

std::wstring Widened(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
std::wstring Widened(const char* format, ...) {
    char text[512] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return std::wstring(text, text + std::strlen(text));
}

// Floats in ten columns and four decimals; a huge double needs more than any fixed buffer.
std::wstring RealText(double value) {
    int length = std::snprintf(nullptr, 0, "%10.4f", value);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%10.4f", value);
    text.resize(static_cast<size_t>(length));
    return std::wstring(text.begin(), text.end());
}

// What the C runtime's 64-bit conversion of a text of an optional sign and digits gives.
long long SixtyFourBit(const std::wstring& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    unsigned long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) value = value * 10 + (text[i] - L'0');
    return static_cast<long long>(negative ? 0 - value : value);
}

struct GenObject;

// One property as generated: its value, and what the printer must make of it.
struct GenProperty {
    std::wstring name;
    Value value;
    CIMTYPE cimType = CIM_EMPTY;
    enum class Key { None, Marked, Empty } key = Key::None;
    enum class Form { Text, OneObject, Objects, OwnLine } form = Form::Text;
    std::wstring text;  // Text: the value text; OwnLine: the marker on a line of its own
    std::vector<std::shared_ptr<GenObject>> objects;  // OneObject and Objects; a null element is none
};

struct GenObject {
    std::wstring className;
    std::vector<GenProperty> properties;
    win32::ComPtr<FakeObject> fake;
};

// The documented fatal report of a printing that cannot go on.
struct OracleFatal {
    std::string out;
};

class Generator {
public:
    explicit Generator(SeededRandom& random) : random_(random) {}

    std::shared_ptr<GenObject> Object(const std::wstring& className, const PrinterRow& printer, int depth) {
        auto object = std::make_shared<GenObject>();
        object->className = className;
        std::vector<std::wstring> names = printer.properties;
        if (!names.empty() && random_.Chance(3)) names.erase(names.begin() + random_.Int(0, static_cast<int>(names.size()) - 1));
        for (int i = random_.Int(0, printer.properties.empty() ? 6 : 2); i > 0; --i) names.push_back(ExtraName());
        for (const std::wstring& name : names) {
            bool duplicate = false;
            for (const GenProperty& property : object->properties) duplicate |= _wcsicmp(property.name.c_str(), name.c_str()) == 0;
            if (!duplicate) object->properties.push_back(Property(name, depth));
        }
        object->fake = NewObject(className);
        for (const GenProperty& property : object->properties) {
            object->fake->Set(property.name, property.value, property.cimType);
            if (property.key == GenProperty::Key::Marked)
                object->fake->Qualifier(property.name, L"key", random_.Chance(50) ? Boolean(true) : I4(random_.Int(-5, 5)));
            if (property.key == GenProperty::Key::Empty) object->fake->Qualifier(property.name, L"key", Empty());
            if (random_.Chance(30)) object->fake->Qualifier(property.name, L"CIMTYPE", wmi_doubles::Text(L"sint32"));
        }
        return object;
    }

    const PrinterRow& TopRow() { return random_.Pick(TopPrinters()); }

private:
    std::wstring ExtraName() {
        std::wstring name = L"Extra" + std::to_wstring(random_.Int(0, 99999));
        if (random_.Chance(20)) name += static_cast<wchar_t>(random_.Int(0xA1, 0x4E00));
        return name;
    }

    wchar_t AnyCharacter() { return static_cast<wchar_t>(random_.Int(1, 0xFFFF)); }

    std::wstring AnyText(size_t length) {
        std::wstring text;
        for (size_t i = 0; i < length; ++i) text += random_.Chance(80) ? static_cast<wchar_t>(random_.Int(0x20, 0x7E)) : AnyCharacter();
        return text;
    }

    std::wstring DecimalText() {
        std::wstring text;
        if (random_.Chance(30)) text += random_.Chance(50) ? L'-' : L'+';
        for (int i = random_.Int(0, 18); i > 0; --i) text += static_cast<wchar_t>(L'0' + random_.Int(0, 9));
        if (random_.Chance(20)) text += L"x7 ";
        return text;
    }

    static Value Bstr(const std::wstring& text) {
        Value v;
        v.get().vt = VT_BSTR;
        v.get().bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return v;
    }

    double AnyDouble() {
        switch (random_.Int(0, 7)) {
            case 0: return 0.0;
            case 1: return 1.5;
            case 2: return -random_.Int(0, 1000000) / 7.0;
            case 3: return 1e300;
            case 4: return -std::numeric_limits<double>::infinity();
            case 5: return std::numeric_limits<double>::denorm_min();
            default: return random_.Int(-1000000, 1000000) / 64.0;
        }
    }

    float AnyFloat() {
        switch (random_.Int(0, 4)) {
            case 0: return std::numeric_limits<float>::max();
            case 1: return -0.0f;
            default: return static_cast<float>(random_.Int(-100000, 100000)) / 8.0f;
        }
    }

    // An array of `count` elements from `lower` on, each put by `put` (index, element index).
    template <class Put>
    Value Array(VARTYPE label, VARTYPE stored, LONG lower, ULONG count, Put put) {
        Value v;
        SAFEARRAY* array = ::SafeArrayCreateVector(stored, lower, count);
        for (ULONG i = 0; i < count; ++i) put(array, lower + static_cast<LONG>(i), i);
        v.get().vt = static_cast<VARTYPE>(VT_ARRAY | label);
        v.get().parray = array;
        return v;
    }

    // A scalar or array value of a type the printer lists, or one it does not.
    void PlainValue(GenProperty& p) {
        const LONG lower = random_.Chance(70) ? 0 : random_.Int(-5, 5);
        const ULONG count = static_cast<ULONG>(random_.Chance(15) ? 0 : random_.Int(1, random_.Chance(10) ? 300 : 6));
        switch (random_.Int(0, 26)) {
            case 0: p.value = Empty(); p.text = L"<empty>"; return;
            case 1: p.value = Null(); p.text = L"<null>"; return;
            case 2: { SHORT v = static_cast<SHORT>(random_.Int(-32768, 32767)); p.value = I2(v); p.text = Widened("0x%hX", static_cast<unsigned short>(v)); return; }
            case 3: { LONG v = random_.Int(INT32_MIN, INT32_MAX); p.value = I4(v); p.text = Widened("0x%X", static_cast<unsigned>(v)); return; }
            case 4: { ULONG v = static_cast<ULONG>(random_.Int(INT32_MIN, INT32_MAX)); p.value = UI4(v); p.text = Widened("0x%X", static_cast<unsigned>(v)); return; }
            case 5: { float v = AnyFloat(); p.value = R4(v); p.text = RealText(v); return; }
            case 6: { double v = AnyDouble(); p.value = R8(v); p.text = RealText(v); return; }
            case 7: {  // a text, perhaps huge, perhaps with zeros inside: it ends at the first
                std::wstring text = AnyText(random_.Chance(10) ? kHugeString : random_.EdgeLength(260));
                if (random_.Chance(30)) text.insert(static_cast<size_t>(random_.Int(0, static_cast<int>(text.size()))), 1, L'\0');
                p.value = Bstr(text);
                p.cimType = random_.Chance(50) ? CIM_STRING : CIM_EMPTY;
                p.text = L"\"" + std::wstring(text.c_str()) + L"\"";
                return;
            }
            case 8: {
                std::wstring text = DecimalText();
                p.value = Bstr(text);
                p.cimType = random_.Chance(50) ? CIM_SINT64 : CIM_UINT64;
                p.text = Widened("0x%llX", static_cast<unsigned long long>(SixtyFourBit(text)));
                return;
            }
            case 9: { int v = random_.Int(-3, 3); p.value = Boolean(v != 0); p.value.get().boolVal = static_cast<VARIANT_BOOL>(v); p.text = v != 0 ? L"TRUE" : L"FALSE"; return; }
            case 10: {
                auto v = static_cast<signed char>(random_.Int(-128, 127));
                p.value = I1(v);
                p.text = v >= 32 ? std::wstring(1, static_cast<wchar_t>(v)) : Widened("x%hX", static_cast<unsigned short>(v));
                return;
            }
            case 11: { auto v = static_cast<unsigned char>(random_.Int(0, 255)); p.value = UI1(v); p.text = Widened("0x%hX", static_cast<unsigned short>(v)); return; }
            case 12: { auto v = static_cast<USHORT>(random_.Int(0, 0xFFFF)); p.value = UI2(v); p.text = Widened("0x%hX", v); return; }
            case 13: {  // types outside the table
                VARTYPE type = random_.Pick(std::vector<VARTYPE>{VT_I8, VT_UI8, VT_INT, VT_UINT, VT_CY, VT_DATE, VT_ERROR, VT_DISPATCH});
                p.value.get().vt = type;
                p.value.get().llVal = 0;
                p.text = L"<conversion error>";
                return;
            }
            case 14: case 15: {  // 16-bit elements: the characters when all are printable
                bool signedType = random_.Chance(50);
                std::wstring hexadecimal;
                std::wstring characters;
                bool printable = true;
                bool letters = random_.Chance(60);
                p.value = Array(signedType ? VT_I2 : VT_UI2, signedType ? VT_I2 : VT_UI2, lower, count, [&](SAFEARRAY* a, LONG index, ULONG) {
                    USHORT element = static_cast<USHORT>(letters ? random_.Int(0x21, 0x7E) : random_.Int(0, 0xFFFF));
                    ::SafeArrayPutElement(a, &index, &element);
                    if (!hexadecimal.empty()) hexadecimal += L",";
                    hexadecimal += Widened("0x%hX", element);
                    characters += static_cast<wchar_t>(element);
                    printable = printable && std::iswprint(element);
                });
                p.text = count == 0 ? L"<empty array>" : printable ? characters : hexadecimal;
                return;
            }
            case 16: {
                std::wstring hexadecimal = L"0x";
                std::wstring characters;
                bool printable = true;
                bool letters = random_.Chance(50);
                p.value = Array(VT_I4, VT_I4, lower, count, [&](SAFEARRAY* a, LONG index, ULONG) {
                    LONG element = letters ? random_.Int(0x21, 0x7E) : random_.Int(INT32_MIN, INT32_MAX);
                    ::SafeArrayPutElement(a, &index, &element);
                    hexadecimal += Widened("%lx", static_cast<unsigned long>(element));
                    characters += static_cast<wchar_t>(element & 0xFFFF);
                    printable = printable && std::iswprint(static_cast<wint_t>(element & 0xFFFF));
                });
                p.text = count == 0 ? L"<empty array>" : printable ? characters : hexadecimal;
                return;
            }
            case 17: {
                std::wstring text;
                p.value = Array(VT_UI4, VT_UI4, lower, count, [&](SAFEARRAY* a, LONG index, ULONG) {
                    ULONG element = static_cast<ULONG>(random_.Int(INT32_MIN, INT32_MAX));
                    ::SafeArrayPutElement(a, &index, &element);
                    text += Widened("%lu", element);
                });
                p.text = count == 0 ? L"<empty array>" : text;
                return;
            }
            case 18: case 19: {
                bool signedType = random_.Chance(50);
                std::wstring text = L"0x";
                p.value = Array(signedType ? VT_I1 : VT_UI1, signedType ? VT_I1 : VT_UI1, lower, count, [&](SAFEARRAY* a, LONG index, ULONG) {
                    auto element = static_cast<unsigned char>(random_.Int(0, 255));
                    ::SafeArrayPutElement(a, &index, &element);
                    text += signedType ? Widened("%X", static_cast<unsigned>(static_cast<int>(static_cast<signed char>(element))))
                                       : Widened("%X", static_cast<unsigned>(element));
                });
                p.text = count == 0 ? L"<empty array>" : text;
                return;
            }
            case 20: {
                bool single = random_.Chance(50);
                std::wstring text;
                p.value = Array(single ? VT_R4 : VT_R8, single ? VT_R4 : VT_R8, lower, count, [&](SAFEARRAY* a, LONG index, ULONG i) {
                    if (i > 0) text += L",";
                    if (single) {
                        float element = AnyFloat();
                        ::SafeArrayPutElement(a, &index, &element);
                        text += RealText(element);
                    } else {
                        double element = AnyDouble();
                        ::SafeArrayPutElement(a, &index, &element);
                        text += RealText(element);
                    }
                });
                p.text = count == 0 ? L"<empty array>" : text;
                return;
            }
            case 21: {
                std::wstring text;
                p.value = Array(VT_BOOL, VT_BOOL, lower, count, [&](SAFEARRAY* a, LONG index, ULONG i) {
                    auto element = static_cast<VARIANT_BOOL>(random_.Int(-2, 2));
                    ::SafeArrayPutElement(a, &index, &element);
                    text += i > 0 ? L"," : L"";
                    text += element != 0 ? L"TRUE" : L"FALSE";
                });
                p.text = count == 0 ? L"<empty array>" : text;
                return;
            }
            case 22: case 23: {  // texts: quoted, or 64-bit integers when the CIM type says so
                bool sixtyFour = random_.Chance(40);
                p.cimType = sixtyFour ? (random_.Chance(50) ? CIM_FLAG_ARRAY | CIM_UINT64 : CIM_FLAG_ARRAY | CIM_SINT64)
                                      : CIM_FLAG_ARRAY | CIM_STRING;
                std::wstring text;
                p.value = Array(VT_BSTR, VT_BSTR, lower, count, [&](SAFEARRAY* a, LONG index, ULONG i) {
                    std::wstring element = sixtyFour ? DecimalText() : AnyText(random_.Chance(5) ? kHugeString / 4 : random_.EdgeLength(40));
                    if (!sixtyFour && random_.Chance(20)) element.insert(element.size() / 2, 1, L'\0');
                    bool none = random_.Chance(5);  // a null BSTR is the empty text
                    BSTR stored = none ? nullptr : ::SysAllocStringLen(element.data(), static_cast<UINT>(element.size()));
                    ::SafeArrayPutElement(a, &index, stored);
                    ::SysFreeString(stored);
                    if (none) element.clear();
                    text += i > 0 ? L"," : L"";
                    if (sixtyFour)
                        text += Widened("%llX", static_cast<unsigned long long>(SixtyFourBit(element)));
                    else
                        text += L"\"" + std::wstring(element.c_str()) + L"\"";
                });
                p.text = count == 0 ? L"<empty array>" : text;
                return;
            }
            case 24: {  // elements of another size than the type says
                VARTYPE label = random_.Pick(std::vector<VARTYPE>{VT_I2, VT_I4, VT_R8, VT_UI1, VT_BSTR, VT_BOOL});
                VARTYPE stored = label == VT_R8 || label == VT_BSTR ? VT_I4 : VT_R8;
                if (label == VT_BSTR && random_.Chance(50)) stored = VT_R8;  // same size, no strings in it
                p.value = Array(label, stored, lower, count, [&](SAFEARRAY* a, LONG index, ULONG) {
                    double element = 1.0;
                    LONG whole = 1;
                    ::SafeArrayPutElement(a, &index, stored == VT_R8 ? static_cast<void*>(&element) : static_cast<void*>(&whole));
                });
                p.text = count == 0 ? L"<empty array>" : L"<conversion error>";
                return;
            }
            case 25: {  // two dimensions: named, not read
                SAFEARRAYBOUND bounds[2] = {};
                bounds[0].cElements = static_cast<ULONG>(random_.Int(0, 3));
                bounds[1].cElements = static_cast<ULONG>(random_.Int(0, 3));
                VARTYPE type = random_.Pick(std::vector<VARTYPE>{VT_I4, VT_UI1, VT_BSTR, VT_R8});
                p.value.get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
                p.value.get().parray = ::SafeArrayCreate(type, 2, bounds);
                p.text = L"<array of 2 dimensions not shown>";
                return;
            }
            default: {  // arrays of element types outside the table
                VARTYPE type = random_.Pick(std::vector<VARTYPE>{VT_I8, VT_DATE, VT_VARIANT, VT_CY});
                p.value.get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
                p.value.get().parray = ::SafeArrayCreateVector(type, lower, count);
                p.text = L"<conversion error>";
                return;
            }
        }
    }

    std::shared_ptr<GenObject> Embedded(int depth, const PrinterRow*& carried) {
        std::wstring className;
        const PrinterRow* own = nullptr;
        if (random_.Chance(60)) {
            own = &random_.Pick(EmbeddedPrinters());
            className = own->className;
        } else {
            className = random_.Pick(std::vector<std::wstring>{L"MPIO_QDSM_GROUP", L"pdo_information", L"SCSI_ADDR ",
                                                               L"Q" + AnyText(static_cast<size_t>(random_.Int(0, 12)))});
        }
        // An element of a class without a printer of its own is printed by the one before it.
        const PrinterRow* printer = own != nullptr ? own : carried;
        carried = printer;
        return Object(className, printer != nullptr ? *printer : kAllProperties, depth + 1);
    }

    GenProperty Property(const std::wstring& name, int depth) {
        GenProperty p;
        p.name = name;
        if (random_.Chance(15)) p.key = GenProperty::Key::Marked;
        if (random_.Chance(1)) p.key = GenProperty::Key::Empty;
        int kind = depth < kMaxDepth ? random_.Int(0, 9) : 9;
        if (kind == 0) {  // one embedded object
            p.form = GenProperty::Form::OneObject;
            const PrinterRow* none = nullptr;
            // A single object gets the printer of its own class or the generic one.
            auto object = Embedded(depth, none);
            p.objects.push_back(object);
            p.value.get().vt = VT_UNKNOWN;
            p.value.get().punkVal = object->fake.get();
            object->fake->AddRef();
            p.cimType = CIM_OBJECT;
            return p;
        }
        if (kind == 1) {  // an array of them, with a missing element now and then
            p.form = GenProperty::Form::Objects;
            const PrinterRow* carried = nullptr;
            for (int i = random_.Chance(15) ? 0 : random_.Int(1, 3); i > 0; --i)
                p.objects.push_back(random_.Chance(3) ? nullptr : Embedded(depth, carried));
            std::vector<IWbemClassObject*> elements;
            for (const auto& object : p.objects) elements.push_back(object ? object->fake.get() : nullptr);
            p.value = ObjectArray(elements);
            p.cimType = CIM_FLAG_ARRAY | CIM_OBJECT;
            if (p.objects.empty()) {
                p.form = GenProperty::Form::OwnLine;
                p.text = L"<empty array>";
            }
            return p;
        }
        if (kind == 2 && random_.Chance(30)) {  // embedded values that cannot be shown
            p.form = GenProperty::Form::OwnLine;
            p.text = L"<conversion error>";
            if (random_.Chance(50)) {
                p.value.get().vt = VT_UNKNOWN;  // no object at all
                p.value.get().punkVal = nullptr;
            } else if (random_.Chance(50)) {
                auto* foreign = new FakeQualifierSet({}, {});  // an object, but no WMI object
                p.value.get().vt = VT_UNKNOWN;
                p.value.get().punkVal = static_cast<IWbemQualifierSet*>(foreign);
            } else {
                SAFEARRAYBOUND bounds[2] = {};
                bounds[0].cElements = 1;
                bounds[1].cElements = 2;
                p.value.get().vt = VT_ARRAY | VT_UNKNOWN;
                p.value.get().parray = ::SafeArrayCreate(VT_UNKNOWN, 2, bounds);
                p.text = L"<array of 2 dimensions not shown>";
            }
            return p;
        }
        PlainValue(p);
        return p;
    }

    SeededRandom& random_;
};

std::wstring Indent(int level) { return std::wstring(static_cast<size_t>(2 * level), L' '); }

std::string PropertyFatal(const std::wstring& name) {
    return "Error: property '" + std::string(name.begin(), name.end()) +
           "' - Couldn't get property value\nFunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \nAbnormal Termination\n";
}

// The text a printer must give for an object at a level, by the documented layout.
std::wstring Render(const GenObject& object, const PrinterRow& printer, int level) {
    std::vector<std::wstring> names = printer.properties;
    if (names.empty())
        for (const GenProperty& property : object.properties) names.push_back(property.name);
    std::wstring text;
    for (const std::wstring& name : names) {
        const GenProperty* property = nullptr;
        for (const GenProperty& candidate : object.properties)
            if (_wcsicmp(candidate.name.c_str(), name.c_str()) == 0) property = &candidate;
        if (property == nullptr) throw OracleFatal{PropertyFatal(name)};
        if (property->key == GenProperty::Key::Empty)
            throw OracleFatal{"Could not get key qualifier\nFunctionReturn: WBEM_NO_ERROR/WBEM_S_NO_ERROR/WBEM_S_SAME "
                              "(0x00000000) \nAbnormal Termination\n"};
        text += Indent(level) + name + (property->key == GenProperty::Key::Marked ? L"*" : L"") + L" = ";
        switch (property->form) {
            case GenProperty::Form::Text:
                text += property->text + L"\n";
                break;
            case GenProperty::Form::OwnLine:
                text += L"\n" + Indent(level + 1) + property->text + L"\n";
                break;
            case GenProperty::Form::OneObject: {
                const GenObject& child = *property->objects.front();
                const PrinterRow* row = EmbeddedRow(child.className);
                text += L"\n" + Render(child, row != nullptr ? *row : kAllProperties, level + 1);
                break;
            }
            case GenProperty::Form::Objects: {
                text += L"\n";
                const PrinterRow* carried = &kAllProperties;
                for (const auto& child : property->objects) {
                    if (!child)
                        throw OracleFatal{"Couldn't get class property in enumproperties\nFunctionReturn: "
                                          "WBEM_E_INVALID_OBJECT (0x8004100f) \nAbnormal Termination\n"};
                    text += Indent(level + 1) + L"instance of " + child->className + L" {\n";
                    if (const PrinterRow* row = EmbeddedRow(child->className)) carried = row;
                    text += Render(*child, *carried, level + 2);
                    text += Indent(level + 1) + L" }\n";
                }
                break;
            }
        }
    }
    return text;
}

// What the console receives for a text: the OEM code page's bytes.
std::string OemBytes(const std::wstring& text) {
    int needed = ::WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    ::WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

class WmiValueFuzz : public QdsmTest {};

}  // namespace

TEST_F(WmiValueFuzz, ObjectsOfEveryValueTypeAndNestingPrintTheDocumentedLines) {
    int fatalCases = 0;
    for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
        SCOPED_TRACE(c.Name());
        SeedOnCrash crash(c);
        SeededRandom random(c.seed);
        Generator generator(random);
        const PrinterRow& row = generator.TopRow();
        std::shared_ptr<GenObject> object = generator.Object(row.className, row, 0);
        const int level = random.Int(0, 3);

        // Most objects go to the printer directly; some the way an instance is printed, one
        // level deeper and onto the console.
        const bool asInstance = random.Chance(30);
        std::wstring expected;
        std::string expectedFatal;
        try {
            expected = Render(*object, row, asInstance ? level + 1 : level);
        } catch (const OracleFatal& fatal) {
            expectedFatal = fatal.out;
        }

        ClearOutput();
        ThisRun().indentation = level;
        ThisRun().printer = row.printer;
        std::wstring text;
        int status = -1;
        try {
            if (asInstance)
                PrintInstance(object->fake.get());
            else
                text = row.printer(object->fake.get());
        } catch (const FatalEnd& end) {
            status = end.status;
            ASSERT_EQ(::OleInitialize(nullptr), S_OK);  // the fatal path let go of OLE
        }
        if (expectedFatal.empty()) {
            EXPECT_EQ(status, -1);
            if (asInstance) {
                EXPECT_EQ(Out(), OemBytes(expected + L"\n"));
            } else {
                EXPECT_EQ(text, expected);
                EXPECT_EQ(Out(), "");
            }
            // Every nested block gives its levels back.
            EXPECT_EQ(ThisRun().indentation, level);
        } else {
            ++fatalCases;
            EXPECT_EQ(status, 1);
            EXPECT_EQ(Out(), expectedFatal);
        }
        EXPECT_EQ(Err(), "");
        object.reset();
        if (HasFailure()) break;  // the first failing seed says it all
    }
    // The generator reaches the fatal paths, but mostly prints.
    EXPECT_GT(fatalCases, 0);
    EXPECT_LT(fatalCases, kCases / 2);
}
