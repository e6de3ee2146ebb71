#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <string>

#include "MessageBoxAnswerer.h"

namespace {

// Shows a box on its own thread, so a test can watch a helper leave it alone.
std::future<int> ShowBoxAsync(std::string caption, std::string text) {
    return std::async(std::launch::async, [caption = std::move(caption), text = std::move(text)] {
        return MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
    });
}

bool BoxIsShowing(const char* caption, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        HWND box = FindWindowA("#32770", caption);
        if (box && IsWindowVisible(box)) return true;
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return false;
}

}  // namespace

TEST(MessageBoxAnswer, AnswersBoxOfThisProcessAndRecordsTextAndIcon) {
    MessageBoxAnswerer answerer("Answer Test");
    const std::string text = "The log folder is missing.\nLooked in:\tC:\\Logs";

    int pressed = MessageBoxA(nullptr, text.c_str(), "Answer Test", MB_OK | MB_ICONEXCLAMATION);

    EXPECT_EQ(pressed, IDOK);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), text);
    EXPECT_EQ(answerer.Icon(), "exclamation");
}

TEST(MessageBoxAnswer, RecordsNoIconForPlainBox) {
    MessageBoxAnswerer answerer("Answer Test Plain");

    int pressed = MessageBoxA(nullptr, "Nothing to see", "Answer Test Plain", MB_OK);

    EXPECT_EQ(pressed, IDOK);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Nothing to see");
    EXPECT_EQ(answerer.Icon(), "none");
}

TEST(MessageBoxAnswer, PressesTheChosenButton) {
    MessageBoxAnswerer answerer("Answer Test Cancel", GetCurrentProcessId(), IDCANCEL);

    int pressed = MessageBoxA(nullptr, "Collect anyway?", "Answer Test Cancel", MB_OKCANCEL | MB_ICONQUESTION);

    EXPECT_EQ(pressed, IDCANCEL);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Icon(), "question");
}

TEST(MessageBoxAnswer, PressesFirstButtonByDefault) {
    MessageBoxAnswerer answerer("Answer Test Yes");

    int pressed = MessageBoxA(nullptr, "Overwrite the report?", "Answer Test Yes", MB_YESNO | MB_ICONSTOP);

    EXPECT_EQ(pressed, IDYES);
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Icon(), "stop");
}

TEST(MessageBoxAnswer, LeavesBoxWithOtherCaptionAlone) {
    auto shown = ShowBoxAsync("Answer Test Unrelated", "Not for that helper");
    ASSERT_TRUE(BoxIsShowing("Answer Test Unrelated", 10000));

    const ULONGLONG started = GetTickCount64();
    MessageBoxAnswerer wrongCaption("Answer Test", GetCurrentProcessId(), 0, 1000);
    EXPECT_FALSE(wrongCaption.Wait(10000));
    EXPECT_LT(GetTickCount64() - started, 5000u);

    MessageBoxAnswerer rightCaption("Answer Test Unrelated");
    EXPECT_TRUE(rightCaption.Wait());
    EXPECT_EQ(shown.get(), IDOK);
}

TEST(MessageBoxAnswer, LeavesBoxOfOtherProcessAlone) {
    auto shown = ShowBoxAsync("Answer Test Owner", "Only for this process");
    ASSERT_TRUE(BoxIsShowing("Answer Test Owner", 10000));

    MessageBoxAnswerer otherOwner("Answer Test Owner", GetCurrentProcessId() + 4, 0, 1000);
    EXPECT_FALSE(otherOwner.Wait(10000));

    MessageBoxAnswerer anyOwner("Answer Test Owner", 0);
    EXPECT_TRUE(anyOwner.Wait());
    EXPECT_EQ(shown.get(), IDOK);
}
