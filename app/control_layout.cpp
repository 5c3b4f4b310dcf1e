#include "app/control_layout.h"

#include <algorithm>

#include "app/app_state.h"

namespace {

constexpr int MARGIN = 10;
constexpr int REPORT_PANE_TOP = 72;
constexpr int REPORT_PANE_MIN_HEIGHT = 80;
// Room below the pane: the gap, the strip and the bottom margin.
constexpr int REPORT_PANE_BOTTOM_SPACE = 42;
constexpr int CHECK_BOX_COLUMN_STEP = 118;
constexpr int CHECK_BOX_ROWS[] = {12, 38};
constexpr int CHECK_BOX_BLOCK_SPACE = 238;
// Keeps the check boxes clear of the Stop button, whose right edge is at 474.
constexpr int CHECK_BOX_MIN_LEFT = 480;
constexpr int PROGRESS_STRIP_HEIGHT = 22;
constexpr int PROGRESS_STRIP_BOTTOM_SPACE = 32;

void Place(HWND control, int x, int y, int width, int height) {
    SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceCheckBox(AlgorithmKind kind, int x, int y) {
    Place(algorithmCheckBoxes[kind], x, y, CHECK_BOX_WIDTH, CHECK_BOX_HEIGHT);
}

}  // namespace

void LayoutControls(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    Place(reportPane, MARGIN, REPORT_PANE_TOP, width - 2 * MARGIN,
          std::max(height - REPORT_PANE_TOP - REPORT_PANE_BOTTOM_SPACE, REPORT_PANE_MIN_HEIGHT));

    const int left = std::max(width - CHECK_BOX_BLOCK_SPACE, CHECK_BOX_MIN_LEFT);
    const int right = left + CHECK_BOX_COLUMN_STEP;
    PlaceCheckBox(Md5, left, CHECK_BOX_ROWS[0]);
    PlaceCheckBox(Sha1, right, CHECK_BOX_ROWS[0]);
    PlaceCheckBox(Sha256, left, CHECK_BOX_ROWS[1]);
    PlaceCheckBox(Crc32, right, CHECK_BOX_ROWS[1]);

    Place(progressStrip, MARGIN, height - PROGRESS_STRIP_BOTTOM_SPACE, width - 2 * MARGIN,
          PROGRESS_STRIP_HEIGHT);
}
