#pragma once
// Owners for the COM values qdsminfo reads: a VARIANT, a BSTR and a SAFEARRAY are freed when
// their owner goes.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

class Variant {
public:
    Variant() noexcept { ::VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&value_); }

    const VARIANT& get() const noexcept { return value_; }
    VARIANT* put() noexcept {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(const wchar_t* text) : value_(::SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(value_); }

    BSTR get() const noexcept { return value_; }
    BSTR* put() noexcept {
        ::SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }

private:
    BSTR value_ = nullptr;
};

class SafeArrayOwner {
public:
    SafeArrayOwner() noexcept = default;
    SafeArrayOwner(const SafeArrayOwner&) = delete;
    SafeArrayOwner& operator=(const SafeArrayOwner&) = delete;
    ~SafeArrayOwner() {
        if (value_ != nullptr) ::SafeArrayDestroy(value_);
    }

    SAFEARRAY* get() const noexcept { return value_; }
    SAFEARRAY** put() noexcept {
        if (value_ != nullptr) ::SafeArrayDestroy(std::exchange(value_, nullptr));
        return &value_;
    }

private:
    SAFEARRAY* value_ = nullptr;
};

// Whether an array holds elements of the size, and for strings and objects of the kind, that its
// VARIANT's type promises: SafeArrayGetElement copies the array's own element size into the
// caller's variable, so a mismatch would write past it.
inline bool ArrayElementsAre(SAFEARRAY* array, VARTYPE elementType) {
    UINT size = 0;
    USHORT kind = 0;
    switch (elementType) {
    case VT_I1: case VT_UI1:
        size = 1;
        break;
    case VT_I2: case VT_UI2: case VT_BOOL:
        size = 2;
        break;
    case VT_I4: case VT_UI4: case VT_R4:
        size = 4;
        break;
    case VT_R8:
        size = 8;
        break;
    case VT_BSTR:
        size = sizeof(BSTR);
        kind = FADF_BSTR;
        break;
    case VT_UNKNOWN:
        size = sizeof(IUnknown*);
        kind = FADF_UNKNOWN | FADF_DISPATCH;
        break;
    default:
        return false;
    }
    return ::SafeArrayGetElemsize(array) == size && (kind == 0 || (array->fFeatures & kind) != 0);
}

// A BSTR's text up to its first null character; a null BSTR is the empty text.
inline std::wstring BstrText(BSTR text) { return text != nullptr ? std::wstring(text) : std::wstring(); }
