#include "redact/AdministratorsOnly.h"

#include <sddl.h>

#include "common/win32/UniqueHandle.h"
#include "common/win32/WriteText.h"

namespace redact {

namespace {

// Full access for BUILTIN\Administrators and LocalSystem; "P": inherited entries are refused.
constexpr char kFolderDacl[] = "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
constexpr char kFileDacl[] = "D:P(A;;FA;;;BA)(A;;FA;;;SY)";

class SecurityDescriptor {
public:
    explicit SecurityDescriptor(const char* sddl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
            memory_.reset(descriptor);
        else
            error_ = ::GetLastError();
    }
    PSECURITY_DESCRIPTOR get() const noexcept { return memory_.get(); }
    DWORD error() const noexcept { return error_; }

private:
    win32::UniqueLocalMemory memory_;
    DWORD error_ = 0;
};

// Gives an existing file or folder the DACL, in place of whatever it had; the descriptor was made.
DWORD Protect(const std::string& path, const SecurityDescriptor& descriptor) {
    if (!::SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                            descriptor.get()))
        return ::GetLastError();
    return 0;
}

}  // namespace

DWORD MakeAdministratorsOnlyFolder(const std::string& path) {
    const SecurityDescriptor descriptor(kFolderDacl);
    if (descriptor.error()) return descriptor.error();
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
    if (!::CreateDirectoryA(path.c_str(), &attributes) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return ::GetLastError();
    return Protect(path, descriptor);
}

DWORD WriteAdministratorsOnlyFile(const std::string& path, const std::string& text) {
    const SecurityDescriptor descriptor(kFileDacl);
    if (descriptor.error()) return descriptor.error();
    const std::string fresh = path + ".new";
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
    DWORD error = 0;
    {
        win32::UniqueFile file(
            ::CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return ::GetLastError();
        error = win32::WriteText(file.get(), text);
        if (!::CloseHandle(file.release()) && !error) error = ::GetLastError();
    }
    // A file made before keeps its DACL through the replacement on some systems: set it again.
    if (!error) error = Protect(fresh, descriptor);
    if (!error && !::MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (error) ::DeleteFileA(fresh.c_str());
    return error;
}

}  // namespace redact
