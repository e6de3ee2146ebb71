#pragma once
#include <gtest/gtest.h>

#include <string>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "dialog/CULVIXDlg.h"
#include "framework/Application.h"

// The main dialog created hidden over a started collection, in a work folder of its own.
class OpenDialog : public ::testing::Test {
protected:
    void SetUp() override {
        framework::EnableHostedControls();
        ASSERT_TRUE(dialog.Create(nullptr));
    }

    HWND Item(int id) const { return dialog.GetDlgItem(id); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(dialog.GetSafeHwnd(), id) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    std::string Text(int id) const {
        char text[512] = {};
        ::GetDlgItemTextA(dialog.GetSafeHwnd(), id, text, sizeof text);
        return text;
    }
    // A click as the box reports it: the check mark changes first, then the dialog is told.
    void Click(int id, UINT newState) {
        ::CheckDlgButton(dialog.GetSafeHwnd(), id, newState);
        ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(id)));
    }

    testing_support::ScopedWorkFolder folder;
    testing_support::StartedCollection collection;
    CULVIXDlg dialog{collection};
};
