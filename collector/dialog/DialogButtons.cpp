// Help, Browse... and Cancel.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "common/win32/ComPtr.h"
#include "dialog/CULVIXDlg.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"

void CULVIXDlg::OnHelp() {
    ::ShellExecuteA(GetSafeHwnd(), "open", collection.paths.helpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CULVIXDlg::OnBrowse() {
    win32::ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.put()))) return;
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = GetSafeHwnd();
    browse.pszDisplayName = displayName;
    browse.lpszTitle = "Browse Folders";
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderA(&browse);
    if (item == nullptr) return;
    char path[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(item, path)) AcceptBrowsedFolder(path);
    allocator->Free(item);
}

void CULVIXDlg::AcceptBrowsedFolder(const std::string& path) {
    // Paths with blanks would break the packaging command line, which splits at blanks.
    if (path.empty() || path.find(' ') != std::string::npos) return;
    std::string& destination = collection.entries.destinationFolder;
    destination = path;
    if (destination.back() != '\\') destination += '\\';
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_DESTINATION, destination.c_str());
}

void CULVIXDlg::OnCancel() {
    // Cancel, Escape, Alt+F4 and the close box alike: a run stopped half-way would leave a run
    // folder half-collected and nothing packed.
    if (RunWorking()) {
        framework::ShowMessageBox(GetSafeHwnd(),
                                  "The collection is still running and is not stopped half-way. This window closes by "
                                  "itself when the collection has ended.",
                                  "Zeltrin", MB_OK | MB_ICONINFORMATION);
        return;
    }
    collection.DiscardReport();
    EndDialog(IDCANCEL);
}
