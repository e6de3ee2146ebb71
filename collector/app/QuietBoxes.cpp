#include "app/QuietBoxes.h"

#include "engine/Collection.h"

void QuietBoxes::Show(const std::string& text) {
    console_.WriteLine(text);
    if (collection_ == nullptr || writingEntry_ || !collection_->report.file.IsOpen()) return;
    writingEntry_ = true;
    collection_->LogReport("%s", text.c_str());
    writingEntry_ = false;
}
