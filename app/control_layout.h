#pragma once

#include <windows.h>

constexpr int CHECK_BOX_WIDTH = 110;
constexpr int CHECK_BOX_HEIGHT = 24;

// Fits the report pane, the check-box block and the progress strip to the window's client area.
// The buttons keep the places they were created at. An empty client area (a minimised window)
// moves nothing.
void LayoutControls(HWND window);
