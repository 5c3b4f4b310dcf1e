#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"
#include "app/control_layout.h"
#include "app/main_window.h"

namespace {

void ExpectPlace(HWND control, int x, int y, int width, int height) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, x);
    EXPECT_EQ(bounds.top, y);
    EXPECT_EQ(bounds.right - bounds.left, width);
    EXPECT_EQ(bounds.bottom - bounds.top, height);
}

// The controls that follow the client area, for one of the given width.
void ExpectLayout(int checkBoxLeft, int innerWidth, int paneHeight, int stripTop) {
    ExpectPlace(reportPane, 10, 72, innerWidth, paneHeight);
    ExpectPlace(algorithmCheckBoxes[Md5], checkBoxLeft, 12, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Sha1], checkBoxLeft + 118, 12, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Sha256], checkBoxLeft, 38, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Crc32], checkBoxLeft + 118, 38, 110, 24);
    ExpectPlace(progressStrip, 10, stripTop, innerWidth, 22);
}

}  // namespace

TEST(ControlLayout, MainWindowAt764By621) {
    appInstance = GetModuleHandleW(nullptr);
    ASSERT_NE(CreateMainWindow(SW_HIDE), nullptr);
    RECT outer = {0, 0, 764, 621};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(mainWindow, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(mainWindow, GWL_EXSTYLE)));
    SetWindowPos(mainWindow, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(mainWindow, &client);
    ASSERT_EQ(client.right, 764);
    ASSERT_EQ(client.bottom, 621);

    ExpectLayout(526, 744, 507, 589);
    ExpectPlace(browseButton, 10, 18, 84, 36);
    ExpectPlace(clearButton, 102, 18, 84, 36);
    ExpectPlace(copyButton, 194, 18, 84, 36);
    ExpectPlace(saveButton, 286, 18, 96, 36);
    ExpectPlace(stopButton, 390, 18, 84, 36);

    // Each size type the window can take: maximised to the client area the screen gives (Wine's
    // null driver: 1024 × 749), back to the size it had, and minimised, which leaves everything
    // where it was.
    ShowWindow(mainWindow, SW_MAXIMIZE);
    GetClientRect(mainWindow, &client);
    ExpectLayout(client.right - 238, client.right - 20, client.bottom - 114, client.bottom - 32);
    for (const int command : {SW_RESTORE, SW_MINIMIZE}) {
        ShowWindow(mainWindow, command);
        ExpectLayout(526, 744, 507, 589);
    }

    // Client areas the main window's minimum size keeps it from, given by a bare window instead.
    // An empty one (a minimised window) moves nothing; narrow, the check boxes stay clear of the
    // Stop button; low, the report pane keeps its minimum height and the strip overlaps it.
    HWND free = CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                appInstance, nullptr);
    ASSERT_NE(free, nullptr);
    for (SIZE empty : {SIZE{0, 400}, SIZE{400, 0}, SIZE{0, 0}}) {
        SetWindowPos(free, nullptr, 0, 0, empty.cx, empty.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        LayoutControls(free);
        ExpectLayout(526, 744, 507, 589);
    }
    const struct {
        int width, height, checkBoxLeft, innerWidth, paneHeight, stripTop;
    } sizes[] = {{719, 400, 481, 699, 286, 368}, {600, 150, 480, 580, 80, 118}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        SetWindowPos(free, nullptr, 0, 0, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
        LayoutControls(free);
        ExpectLayout(size.checkBoxLeft, size.innerWidth, size.paneHeight, size.stripTop);
    }
}
