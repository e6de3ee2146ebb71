#include "framework/MessageBoxReplacement.h"

namespace framework {

namespace {
// The scope that is innermost now, for the whole program: a box asked for on another thread
// is taken on its owner's thread, whichever thread installed the scope.
MessageBoxReplacement* installed = nullptr;
}  // namespace

MessageBoxReplacement::MessageBoxReplacement(Sink sink) : sink_(std::move(sink)), previous_(installed) {
    installed = this;
}

MessageBoxReplacement::~MessageBoxReplacement() { installed = previous_; }

bool MessageBoxReplacement::Take(const std::string& text) {
    if (installed == nullptr) return false;
    if (installed->sink_) installed->sink_(text);
    return true;
}

}  // namespace framework
