#pragma once

#include <windows.h>

// Where the main window's top-left corner goes so that a window of the creation size is centred in
// the work area; may be negative when the area is smaller than the window.
POINT CenteredWindowOrigin(const RECT& workArea);

// Registers the class and creates, centres and shows the main window; null when it cannot be made.
HWND CreateMainWindow(int showCommand);

// Runs until WM_QUIT and returns its exit code, also when a running job's pump took the quit first.
int RunMessageLoop();
