#pragma once
#include <functional>
#include <string>

namespace framework {

// While one is installed, ShowMessageBox shows nothing: the box's text goes to the sink, and
// the call returns what the box's only button returns, so a run nobody watches goes on as
// if someone had pressed it. Scopes nest; the innermost one is used.
class MessageBoxReplacement {
public:
    using Sink = std::function<void(const std::string& text)>;

    explicit MessageBoxReplacement(Sink sink);
    ~MessageBoxReplacement();
    MessageBoxReplacement(const MessageBoxReplacement&) = delete;
    MessageBoxReplacement& operator=(const MessageBoxReplacement&) = delete;

    // Hands the text to the installed replacement; false when none is installed.
    static bool Take(const std::string& text);

private:
    Sink sink_;
    MessageBoxReplacement* previous_;
};

}  // namespace framework
