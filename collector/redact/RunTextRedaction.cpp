#include "redact/RunTextRedaction.h"

#include "redact/TextRewriter.h"

namespace redact {

std::string RunTextRedaction::Redacted(const std::string& text) {
    // The files' counts are the record; a manifest's own texts are not counted again.
    ReplacementCounts uncounted{};
    TextRewriter rewriter(names_, *standIns_, uncounted, false);
    std::string out;
    rewriter.Rewrite(text.data(), text.size(), true, out);
    return out;
}

}  // namespace redact
