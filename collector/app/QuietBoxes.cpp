#include "app/QuietBoxes.h"

#include "dialog/CULVIXDlg.h"

void QuietBoxes::Show(const std::string& text) {
    console_.WriteLine(text);
    if (dialog_ == nullptr || writingEntry_ || !dialog_->report.file.IsOpen()) return;
    writingEntry_ = true;
    dialog_->LogReport("%s", text.c_str());
    writingEntry_ = false;
}
