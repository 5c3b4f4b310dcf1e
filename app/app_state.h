#pragma once

#include <windows.h>

#include "app/app_flags.h"
#include "app/control_ids.h"

// Handles of the main window and its controls: null until the window has created them, and then
// valid until the process ends. Every operation on them must therefore tolerate null.
extern HINSTANCE appInstance;
extern HWND mainWindow;
extern HWND browseButton;
extern HWND clearButton;
extern HWND copyButton;
extern HWND saveButton;
extern HWND stopButton;
extern HWND algorithmCheckBoxes[ALGORITHM_COUNT];
extern HWND reportPane;
extern HWND progressStrip;

extern HFONT uiFont;
extern HFONT monoFont;
extern HFONT percentFont;

// Whoever changes progressPercent calls this afterwards, so the strip shows the new value before
// the caller goes on.
void RefreshProgressStrip();
