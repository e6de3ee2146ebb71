#pragma once
#include <string_view>

namespace text {

// Calls `line` with each line of the text, without its line end ("\n" or "\r\n").
template <typename Line>
void ForEachLine(std::string_view text, Line line) {
    for (size_t position = 0; position < text.size();) {
        size_t end = text.find('\n', position);
        if (end == std::string_view::npos) end = text.size();
        std::string_view current = text.substr(position, end - position);
        if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
        line(current);
        position = end + 1;
    }
}

}  // namespace text
