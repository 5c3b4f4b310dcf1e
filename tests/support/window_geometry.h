#pragma once

#include <windows.h>

// The control's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND control);
void ExpectPlace(HWND control, int x, int y, int width, int height);
