#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"
#include "commands/report_export.h"
#include "hashing/file_pass.h"
#include "tests/support/exported_report.h"

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

// The loop a pass runs between chunks, and the program's own, take every message of the thread,
// whatever its window or number, and translate keys: Ctrl+C copies what the report has selected.
TEST(MessageLoops, DispatchEverythingWaitingTranslateKeysAndReturn) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PumpTestWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    mainWindow = reportPane = CreateWindowExW(0, L"EDIT", L"selected", WS_POPUP, 0, 0, 90, 30,
                                              nullptr, nullptr, windowClass.hInstance, nullptr);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    for (const bool programLoop : {false, true}) {
        SCOPED_TRACE(programLoop ? "the program's loop" : "the pump");
        messagesSeen = 0;
        PlaceTextOnClipboard(window, L"old");
        SendMessageW(reportPane, EM_SETSEL, 0, -1);
        for (int i = 0; i < 3; ++i) {
            PostMessageW(window, WM_APP, 0, 0);
        }
        PostMessageW(reportPane, WM_KEYDOWN, 'C', 1);
        if (programLoop) {
            PostQuitMessage(7);
            EXPECT_EQ(RunMessageLoop(), 7);
        } else {
            PumpPendingMessages();
        }
        EXPECT_EQ(messagesSeen, 3);
        EXPECT_EQ(ClipboardUnicodeBlock(), std::wstring(L"selected") + L'\0');
        MSG left;
        EXPECT_FALSE(PeekMessageW(&left, nullptr, 0, 0, PM_NOREMOVE));
    }
    DestroyWindow(reportPane);
    DestroyWindow(window);
}
