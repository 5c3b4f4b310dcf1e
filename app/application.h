#pragma once

#include <windows.h>

// From here on every library loaded by name, by the program or by the system's dialogs on its
// behalf, comes from the system folder, never from the program's own, where anyone may have left
// one of the same name.
void NarrowLibrarySearch();

// Where the main window's top-left corner goes so that a window of the creation size is centred in
// the work area, its top edge never above the area's; left of the area when the area is narrower.
POINT CenteredWindowOrigin(const RECT& workArea);

// Registers the class and creates, centres and shows the main window; null when it cannot be made.
HWND CreateMainWindow(int showCommand);

// Runs until WM_QUIT and returns its exit code, also when a running job's pump took the quit first.
int RunMessageLoop();
