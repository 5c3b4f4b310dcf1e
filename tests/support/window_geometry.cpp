#include "tests/support/window_geometry.h"

#include <gtest/gtest.h>

RECT PlaceInParent(HWND control) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void ExpectPlace(HWND control, int x, int y, int width, int height) {
    const RECT bounds = PlaceInParent(control);
    EXPECT_EQ(bounds.left, x);
    EXPECT_EQ(bounds.top, y);
    EXPECT_EQ(bounds.right - bounds.left, width);
    EXPECT_EQ(bounds.bottom - bounds.top, height);
}
