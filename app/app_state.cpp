#include "app/app_state.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
HWND browseButton = nullptr;
HWND clearButton = nullptr;
HWND copyButton = nullptr;
HWND saveButton = nullptr;
HWND stopButton = nullptr;
HWND algorithmCheckBoxes[ALGORITHM_COUNT] = {};
HWND reportPane = nullptr;
HWND progressStrip = nullptr;

HFONT uiFont = nullptr;
HFONT monoFont = nullptr;
HFONT percentFont = nullptr;

void RefreshProgressStrip() {
    if (progressStrip == nullptr) {
        return;
    }
    InvalidateRect(progressStrip, nullptr, TRUE);
    UpdateWindow(progressStrip);
}
