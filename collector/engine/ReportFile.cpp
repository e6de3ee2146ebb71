#include "engine/ReportFile.h"

bool ReportFile::Create(const std::string& name) {
    handle_.reset(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    // The name is kept only for a file this object made, so a later delete can never hit
    // someone else's file of the same name.
    if (IsOpen()) name_ = name;
    return IsOpen();
}

bool ReportFile::Write(const std::string& bytes) {
    if (!IsOpen()) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!::WriteFile(handle_.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
        bytes_ += written;
    }
    return true;
}

void ReportFile::Flush() {
    if (IsOpen()) ::FlushFileBuffers(handle_.get());
}
