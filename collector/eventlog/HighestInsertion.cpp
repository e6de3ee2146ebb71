// Which insertion strings a message asks for. The system cannot tell how many strings the
// argument array holds and would read past its end, so the count is checked before formatting.
#include <cctype>

#include "eventlog/EventText.h"

int HighestInsertion(std::string_view message) {
    int highest = 0;
    for (size_t i = 0; i < message.size(); ++i) {
        if (message[i] != '%' || i + 1 == message.size()) continue;
        char first = message[i + 1];
        if (first < '1' || first > '9') {
            ++i;  // "%%", "%n", "%0" and the other escapes are no insertions
            continue;
        }
        int number = first - '0';
        ++i;
        if (i + 1 < message.size() && std::isdigit(static_cast<unsigned char>(message[i + 1]))) {
            number = number * 10 + (message[i + 1] - '0');
            ++i;
        }
        // A printf form such as "%1!*s!" takes each "*" width from the arguments that follow.
        if (i + 1 < message.size() && message[i + 1] == '!') {
            size_t close = message.find('!', i + 2);
            if (close != std::string_view::npos) {
                for (size_t j = i + 2; j < close; ++j)
                    if (message[j] == '*') ++number;
                i = close;
            }
        }
        if (number > highest) highest = number;
    }
    return highest;
}
