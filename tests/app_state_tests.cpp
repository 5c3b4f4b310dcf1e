#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "hashing/file_pass.h"

namespace {

int messagesSeen = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ++messagesSeen;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// Every test runs in a fresh process, so this one sees the state as the process starts.
TEST(AppState, StartsWithEveryFlagClearAndNoHandles) {
    EXPECT_FALSE(reportStarted);
    EXPECT_FALSE(jobRunning);
    EXPECT_FALSE(stopRequested);
    EXPECT_FALSE(crcTableReady);
    EXPECT_EQ(progressPercent, 0);
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_EQ(progressStrip, nullptr);
    EXPECT_EQ(reportPane, nullptr);
    for (HWND box : algorithmCheckBoxes) {
        EXPECT_EQ(box, nullptr);
    }
}

TEST(AppState, WithoutAWindowTheShellOperationsDoNothing) {
    progressPercent = 42;
    RefreshProgressStrip();
    PumpPendingMessages();
    EXPECT_EQ(progressPercent, 42);
    progressPercent = 0;
}

TEST(PumpPendingMessages, DispatchesEverythingWaitingAndReturns) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PumpTestWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) {
        PostMessageW(window, WM_APP, 0, 0);
    }
    PumpPendingMessages();
    EXPECT_EQ(messagesSeen, 3);
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, nullptr, 0, 0, PM_NOREMOVE));
    DestroyWindow(window);
}
