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

// A BSTR's text up to its first null character; a null BSTR is the empty text.
inline std::wstring BstrText(BSTR text) { return text != nullptr ? std::wstring(text) : std::wstring(); }
