#include "verify/FolderReader.h"

#include <vector>

#include "common/win32/UniqueHandle.h"
#include "common/win32/Utf8Text.h"
#include "console/ConsoleWriter.h"
#include "engine/ErrorText.h"
#include "verify/FileDigest.h"

namespace {

std::string ErrorLine(DWORD error) { return console::ConsoleWriter::OneLine(GetErrorText(error)); }

void ReadOneFile(const std::wstring& path, const std::string& relative, std::vector<char>& block,
              BundleContents& contents) {
    FileDigest digest(relative);
    win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) digest.Fail(::GetLastError());
    for (DWORD read = 0; file;) {
        if (!::ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) {
            digest.Fail(::GetLastError());
            break;
        }
        if (read == 0) break;
        digest.Add(block.data(), read);
    }
    digest.Finish(contents);
}

void ReadTree(const std::wstring& folder, const std::string& relative, std::vector<char>& block,
                BundleContents& contents) {
    WIN32_FIND_DATAW found{};
    win32::UniqueFind search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) {
        const DWORD error = ::GetLastError();
        // An empty sub-folder has "." and "..": only a folder that cannot be listed ends here.
        contents.problems.push_back("Not readable: " + (relative.empty() ? std::string(".") : relative) + "/: " +
                                    ErrorLine(error));
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::string path = (relative.empty() ? "" : relative + "/") + win32::Utf8Text(name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ReadTree(folder + L"\\" + name, path, block, contents);
        else
            ReadOneFile(folder + L"\\" + name, path, block, contents);
    } while (::FindNextFileW(search.get(), &found));
}

}  // namespace

BundleContents ReadRunFolder(const std::wstring& folder) {
    BundleContents contents;
    std::vector<char> block(kHashBlockSize);
    ReadTree(folder, "", block, contents);
    return contents;
}
