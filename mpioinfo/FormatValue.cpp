#include <cstdlib>
#include <cwctype>

#include "ComValues.h"
#include "ObjectPrinter.h"
#include "Output.h"
#include "WbemErrors.h"

namespace {

const wchar_t kConversionError[] = L"<conversion error>";

std::wstring Hexadecimal16(unsigned short value) { return Widen(Format("0x%hX", value)); }

std::wstring Real(double value) { return Widen(Format("%10.4f", value)); }

std::wstring Boolean(VARIANT_BOOL value) { return value != 0 ? L"TRUE" : L"FALSE"; }

std::wstring LowerHexadecimal(unsigned long value) { return Widen(Format("%lx", value)); }

// One-dimensional array: its bounds, and each element fetched by index.
class ArrayReader {
public:
    explicit ArrayReader(SAFEARRAY* array) : array_(array) {}

    UINT Dimensions() const { return array_ != nullptr ? ::SafeArrayGetDim(array_) : 0; }

    // A bound that cannot be read ends the process through the fatal path.
    void ReadBounds() {
        HRESULT status = ::SafeArrayGetLBound(array_, 1, &lower_);
        if (status != 0) FatalWbemError("Couldn't get safe array lbound", status);
        status = ::SafeArrayGetUBound(array_, 1, &upper_);
        if (status != 0) FatalWbemError("Couldn't get safe array ubound", status);
    }
    LONG Lower() const noexcept { return lower_; }
    LONG Upper() const noexcept { return upper_; }
    bool Empty() const noexcept { return static_cast<long long>(upper_) - lower_ + 1 <= 0; }

    // So does an element that cannot be fetched.
    template <class Element>
    Element Get(LONG index) const {
        Element element{};
        HRESULT status = ::SafeArrayGetElement(array_, &index, &element);
        if (status != 0) FatalWbemError("Couldn't get safe array element", status);
        return element;
    }

private:
    SAFEARRAY* array_;
    LONG lower_ = 0;
    LONG upper_ = -1;
};

// 16-bit elements: the characters themselves when every one is printable, else their list.
template <class Element>
std::wstring SixteenBitArray(const ArrayReader& array) {
    std::wstring hexadecimal;
    std::wstring characters;
    bool printable = true;
    for (LONG i = array.Lower(); i <= array.Upper(); ++i) {
        auto element = static_cast<unsigned short>(array.Get<Element>(i));
        if (!hexadecimal.empty()) hexadecimal += L",";
        hexadecimal += Hexadecimal16(element);
        characters += static_cast<wchar_t>(element);
        if (!std::iswprint(static_cast<wint_t>(element))) printable = false;
    }
    return printable ? characters : hexadecimal;
}

std::wstring LongArray(const ArrayReader& array) {
    std::wstring hexadecimal = L"0x";
    std::wstring characters;
    bool printable = true;
    for (LONG i = array.Lower(); i <= array.Upper(); ++i) {
        LONG element = array.Get<LONG>(i);
        hexadecimal += LowerHexadecimal(static_cast<unsigned long>(element));
        auto low = static_cast<wchar_t>(element & 0xFFFF);
        characters += low;
        if (!std::iswprint(static_cast<wint_t>(low))) printable = false;
    }
    return printable ? characters : hexadecimal;
}

std::wstring ArrayText(CIMTYPE cimType, VARTYPE elementType, const ArrayReader& array) {
    std::wstring text;
    switch (elementType) {
    case VT_I2:
        return SixteenBitArray<SHORT>(array);
    case VT_UI2:
        return SixteenBitArray<USHORT>(array);
    case VT_I4:
        return LongArray(array);
    case VT_UI4:
        for (LONG i = array.Lower(); i <= array.Upper(); ++i) text += Widen(Format("%lu", array.Get<ULONG>(i)));
        return text;
    case VT_I1:
        text = L"0x";
        for (LONG i = array.Lower(); i <= array.Upper(); ++i)
            text += Widen(Format("%X", static_cast<unsigned>(static_cast<int>(array.Get<signed char>(i)))));
        return text;
    case VT_UI1:
        text = L"0x";
        for (LONG i = array.Lower(); i <= array.Upper(); ++i)
            text += Widen(Format("%X", static_cast<unsigned>(array.Get<unsigned char>(i))));
        return text;
    case VT_R4:
        for (LONG i = array.Lower(); i <= array.Upper(); ++i) {
            if (i != array.Lower()) text += L",";
            text += Real(array.Get<float>(i));
        }
        return text;
    case VT_R8:
        for (LONG i = array.Lower(); i <= array.Upper(); ++i) {
            if (i != array.Lower()) text += L",";
            text += Real(array.Get<double>(i));
        }
        return text;
    case VT_BOOL:
        for (LONG i = array.Lower(); i <= array.Upper(); ++i) {
            if (i != array.Lower()) text += L",";
            text += Boolean(array.Get<VARIANT_BOOL>(i));
        }
        return text;
    default:  // VT_BSTR
        break;
    }
    bool sixtyFourBit = cimType == (CIM_FLAG_ARRAY | CIM_UINT64) || cimType == (CIM_FLAG_ARRAY | CIM_SINT64);
    for (LONG i = array.Lower(); i <= array.Upper(); ++i) {
        Bstr element;
        *element.put() = array.Get<BSTR>(i);
        if (i != array.Lower()) text += L",";
        std::wstring value = BstrText(element.get());
        if (sixtyFourBit) {
            text += Widen(Format("%llX", static_cast<unsigned long long>(_wtoi64(value.c_str()))));
        } else {
            text += L"\"";
            text += value;
            text += L"\"";
        }
    }
    return text;
}

bool ListedArrayElement(VARTYPE elementType) {
    switch (elementType) {
    case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_I1: case VT_UI1:
    case VT_R4: case VT_R8: case VT_BOOL: case VT_BSTR:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::wstring FormatValue(CIMTYPE cimType, const VARIANT& value) {
    switch (value.vt) {
    case VT_EMPTY:
        return L"<empty>";
    case VT_NULL:
        return L"<null>";
    case VT_I2:
        return Hexadecimal16(static_cast<unsigned short>(value.iVal));
    case VT_I4:
        return Widen(Format("0x%X", static_cast<unsigned>(value.lVal)));
    case VT_UI4:
        return Widen(Format("0x%X", static_cast<unsigned>(value.ulVal)));
    case VT_R4:
        return Real(value.fltVal);
    case VT_R8:
        return Real(value.dblVal);
    case VT_BSTR: {
        std::wstring text = BstrText(value.bstrVal);
        if (cimType == CIM_SINT64 || cimType == CIM_UINT64)
            return Widen(Format("0x%llX", static_cast<unsigned long long>(_wtoi64(text.c_str()))));
        std::wstring quoted = L"\"";
        quoted += text;
        quoted += L"\"";
        return quoted;
    }
    case VT_BOOL:
        return Boolean(value.boolVal);
    case VT_I1: {
        auto character = static_cast<signed char>(value.cVal);
        if (character >= 32) return std::wstring(1, static_cast<wchar_t>(character));
        return Widen(Format("x%hX", static_cast<unsigned short>(character)));
    }
    case VT_UI1:
        return Hexadecimal16(value.bVal);
    case VT_UI2:
        return Hexadecimal16(value.uiVal);
    default:
        break;
    }
    VARTYPE elementType = value.vt & VT_TYPEMASK;
    if ((value.vt & VT_ARRAY) != 0 && (value.vt & ~(VT_ARRAY | VT_TYPEMASK)) == 0 && ListedArrayElement(elementType)) {
        ArrayReader array(value.parray);
        UINT dimensions = array.Dimensions();
        if (dimensions != 1) return Widen(Format("<array of %u dimensions not shown>", dimensions));
        array.ReadBounds();
        if (array.Empty()) return L"<empty array>";
        if (!ArrayElementsAre(value.parray, elementType)) return kConversionError;
        return ArrayText(cimType, elementType, array);
    }
    return kConversionError;
}
