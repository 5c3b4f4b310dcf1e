#pragma once

#include <windows.h>

constexpr wchar_t MAIN_WINDOW_CLASS[] = L"OrdwenWin10Class";
constexpr wchar_t MAIN_WINDOW_CAPTION[] = L"Ordwen - 1.06 Brellick\xFF08Kovaro\xFF09";
constexpr int MAIN_WINDOW_WIDTH = 780;
constexpr int MAIN_WINDOW_HEIGHT = 660;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
