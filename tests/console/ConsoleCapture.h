#pragma once
// A file the program's console lines go to, read back as lines.
#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/UniqueHandle.h"

class ConsoleCapture {
public:
    explicit ConsoleCapture(std::string path);
    HANDLE Handle() const noexcept { return file_.get(); }
    const std::string& Path() const noexcept { return path_; }
    // Everything written so far, as it lies on disk.
    std::string Bytes() const;
    // The lines, without their line ends. The tools the run starts write here too, with
    // line ends of their own; the writer's tests pin its CR LF.
    std::vector<std::string> Lines() const;

private:
    std::string path_;
    win32::UniqueFile file_;
};

bool HasLine(const std::vector<std::string>& lines, const std::string& line);
