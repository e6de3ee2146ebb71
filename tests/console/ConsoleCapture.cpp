#include "ConsoleCapture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"

ConsoleCapture::ConsoleCapture(std::string path)
    : path_(std::move(path)),
      file_(::CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    EXPECT_TRUE(file_) << path_;
}

std::string ConsoleCapture::Bytes() const { return testing_support::ReadWholeFile(path_); }

std::vector<std::string> ConsoleCapture::Lines() const {
    const std::string bytes = Bytes();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
