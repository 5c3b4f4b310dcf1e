#pragma once

#include <windows.h>

constexpr wchar_t MAIN_WINDOW_CLASS[] = L"OrdwenWin10Class";
constexpr wchar_t MAIN_WINDOW_CAPTION[] = L"Ordwen - 1.06 Brellick\xFF08Kovaro\xFF09";
constexpr int MAIN_WINDOW_WIDTH = 780;
constexpr int MAIN_WINDOW_HEIGHT = 660;
constexpr int MAIN_WINDOW_MIN_WIDTH = 740;
constexpr int MAIN_WINDOW_MIN_HEIGHT = 540;

// What the report pane shows while it holds no report.
constexpr wchar_t REPORT_HINT_TEXT[] =
    L"拖拽文件到此处，或点击\"浏览\"按钮选择文件，即可计算 MD5/SHA-1/SHA-256/CRC32 哈希值";

constexpr wchar_t COPY_CAPTION[] = L"复制(C)";

// The commands a WM_COMMAND can carry out. Only the control id in the low word of wParam counts,
// and Browse is refused while a job runs: a job started from inside another job's message pump
// would interleave both reports.
enum class WindowCommand { None, Browse, Clear, Copy, Save, Stop };
WindowCommand CommandFor(WPARAM wParam);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
