#pragma once

#include <windows.h>

// Paints the whole strip for progressPercent into the item's DC and rectangle, whatever DC that
// is, and leaves no GDI object of its own behind. Returns TRUE, the answer to WM_DRAWITEM.
LRESULT DrawProgressStrip(const DRAWITEMSTRUCT& item);
