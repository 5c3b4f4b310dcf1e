// What a user sees who picks 2,000 files of 30-character names in the Browse dialog, selecting all
// of them in its list as Ctrl+A does, in the program's own main window with all four algorithms
// checked: how long the dialog takes over the selection and over its own checks after OK, how long
// after the dialog has closed the first file is being hashed, and how many blocks the report holds.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/application.h"
#include "bench/bench_support.h"
#include "hashing/report_pane.h"
#include "tests/support/dialog_driver.h"

namespace {

constexpr int FILE_COUNT = 2000;

double selectionStart = 0;
double okPressed = 0;
double dialogClosed = 0;
double firstPass = 0;
WNDPROC programWindowProc = nullptr;

std::wstring PhotoPath(const std::wstring& folder, int number) {
    return folder + L"\\photo " + std::to_wstring(10000 + number) + L" taken in 2024.jpeg";
}

std::wstring MakeFiles() {
    const std::wstring folder = BenchFolder(L"ordwen-browse-bench");
    for (int number = 1; number <= FILE_COUNT; ++number) {
        WriteFileBytes(PhotoPath(folder, number), &number, sizeof number);
    }
    return folder;
}

// Selects every entry of the dialog's list, as Ctrl+A does.
void SelectAllInTheList() {
    const HWND view = FindWindowExW(DrivenDialog(), nullptr, L"SHELLDLL_DefView", nullptr);
    const HWND list = FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr);
    if (list == nullptr) {
        Fail("the dialog has no list of files");
    }
    selectionStart = Seconds();
    LVITEMW item = {};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    okPressed = Seconds();
}

LRESULT CALLBACK WatchDialogEnd(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[16] = {};
    if (code == HCBT_DESTROYWND && GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16) &&
        std::wstring(className) == L"#32770") {
        dialogClosed = Seconds();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchFirstPass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM && wParam == IDC_PROGRESS && jobRunning && firstPass == 0) {
        firstPass = Seconds();
    }
    return CallWindowProcW(programWindowProc, window, message, wParam, lParam);
}

int CountBlocks(const std::wstring& report) {
    int blocks = 0;
    for (std::size_t at = report.find(L"文件: "); at != std::wstring::npos;
         at = report.find(L"文件: ", at + 1)) {
        ++blocks;
    }
    return blocks;
}

}  // namespace

int main() {
    appInstance = GetModuleHandleW(nullptr);
    if (CreateMainWindow(SW_SHOWNOACTIVATE) == nullptr) {
        Fail("cannot create the main window");
    }
    const std::wstring folder = MakeFiles();
    programWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchFirstPass)));
    const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchDialogEnd, nullptr, GetCurrentThreadId());
    DialogDriver driver({{nullptr, folder, IDOK}, {SelectAllInTheList, L"", IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    const double end = Seconds();
    UnhookWindowsHookEx(hook);

    const std::wstring report = ReadReportText();
    std::printf(
        "%d files selected in the dialog's list: the selection took %.1f s, the dialog closed "
        "%.1f s after OK; the first file was being hashed %.1f ms after that; the batch took "
        "%.1f s; the report holds %d blocks, the first for %ls\n",
        FILE_COUNT, okPressed - selectionStart, dialogClosed - okPressed,
        (firstPass - dialogClosed) * 1e3, end - firstPass, CountBlocks(report),
        report.substr(4, report.find(L"\r\n") - 4).c_str());
    for (int number = 1; number <= FILE_COUNT; ++number) {
        DeleteFileW(PhotoPath(folder, number).c_str());
    }
    // The dialog made the folder the current one, which cannot be removed.
    SetCurrentDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
