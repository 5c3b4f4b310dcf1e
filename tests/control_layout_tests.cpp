#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "tests/support/window_geometry.h"
#include "app/application.h"
#include "app/control_layout.h"
#include "app/main_window.h"

namespace {

void ExpectCheckBoxColumns(int left) {
    ExpectPlace(algorithmCheckBoxes[Md5], left, 12, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Sha1], left + 118, 12, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Sha256], left, 38, 110, 24);
    ExpectPlace(algorithmCheckBoxes[Crc32], left + 118, 38, 110, 24);
}

// A bare parent of any client size, free of the main window's minimum size, holding children in
// the AppState fields the layout reads.
class FreeLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LayoutTestParent";
        RegisterClassW(&windowClass);
        parent = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        reportPane = MakeChild();
        for (HWND& box : algorithmCheckBoxes) {
            box = MakeChild();
        }
        progressStrip = MakeChild();
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND MakeChild() {
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 1, 1, 1, 1, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }

    void LayOutAtClientSize(int width, int height) {
        SetWindowPos(parent, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client;
        GetClientRect(parent, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
        LayoutControls(parent);
    }

    HWND parent = nullptr;
};

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

    ExpectPlace(reportPane, 10, 72, 744, 507);
    ExpectCheckBoxColumns(526);
    ExpectPlace(progressStrip, 10, 589, 744, 22);
    ExpectPlace(browseButton, 10, 18, 84, 36);
    ExpectPlace(clearButton, 102, 18, 84, 36);
    ExpectPlace(copyButton, 194, 18, 84, 36);
    ExpectPlace(saveButton, 286, 18, 96, 36);
    ExpectPlace(stopButton, 390, 18, 84, 36);
}

TEST_F(FreeLayoutTest, CheckBoxesFollowTheRightEdgeDownTo718AndThenStay) {
    LayOutAtClientSize(719, 400);
    ExpectCheckBoxColumns(481);
    LayOutAtClientSize(718, 400);
    ExpectCheckBoxColumns(480);
    LayOutAtClientSize(600, 400);
    ExpectCheckBoxColumns(480);
    // The widths below follow the client area without a lower bound.
    ExpectPlace(reportPane, 10, 72, 580, 400 - 114);
    ExpectPlace(progressStrip, 10, 368, 580, 22);
}

TEST_F(FreeLayoutTest, ReportPaneKeepsItsMinimumHeightAndTheStripFollowsTheBottom) {
    LayOutAtClientSize(764, 194);
    ExpectPlace(reportPane, 10, 72, 744, 80);
    LayOutAtClientSize(764, 193);
    ExpectPlace(reportPane, 10, 72, 744, 80);
    // Lower still, the strip keeps to the bottom and overlaps the pane.
    LayOutAtClientSize(764, 150);
    ExpectPlace(reportPane, 10, 72, 744, 80);
    ExpectPlace(progressStrip, 10, 118, 744, 22);
    LayOutAtClientSize(30, 20);
    ExpectPlace(progressStrip, 10, -12, 10, 22);
}

TEST_F(FreeLayoutTest, EmptyClientAreaMovesNothing) {
    for (SIZE empty : {SIZE{0, 400}, SIZE{400, 0}, SIZE{0, 0}}) {
        SetWindowPos(parent, nullptr, 0, 0, empty.cx, empty.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        LayoutControls(parent);
        ExpectPlace(reportPane, 1, 1, 1, 1);
        ExpectPlace(progressStrip, 1, 1, 1, 1);
        for (HWND box : algorithmCheckBoxes) {
            ExpectPlace(box, 1, 1, 1, 1);
        }
    }
}
