#pragma once
#include <string>

#include "framework/Dialog.h"

// The about box: icon, "Zeltrin v" with the program version, product and notice lines.
class CAboutDlg : public framework::Dialog {
public:
    explicit CAboutDlg(std::string programVersion);

protected:
    BOOL OnInitDialog() override;

private:
    std::string programVersion_;
};
