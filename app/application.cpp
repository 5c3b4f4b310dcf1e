#include "app/application.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "hashing/file_pass.h"
#include "hashing/system_libraries.h"

namespace {

constexpr int APP_ICON_ID = 1;

HICON LoadAppIcon(int width, int height, UINT flags) {
    return static_cast<HICON>(
        LoadImageW(appInstance, MAKEINTRESOURCEW(APP_ICON_ID), IMAGE_ICON, width, height, flags));
}

HICON LoadLargeIcon() {
    return LoadAppIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED);
}

HICON LoadSmallIcon() {
    return LoadAppIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
}

void RegisterMainWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = appInstance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    HICON large = LoadLargeIcon();
    HICON small = LoadSmallIcon();
    if (large == nullptr) {
        large = LoadAppIcon(0, 0, LR_SHARED | LR_DEFAULTSIZE);
    }
    if (small == nullptr) {
        small = LoadAppIcon(0, 0, LR_SHARED | LR_DEFAULTSIZE);
    }
    if (large == nullptr) {
        large = LoadIconW(nullptr, IDI_APPLICATION);
    }
    if (small == nullptr) {
        small = large;
    }
    windowClass.hIcon = large;
    windowClass.hIconSm = small;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    RegisterClassExW(&windowClass);
}

void SetWindowIcons(HWND window) {
    HICON large = LoadLargeIcon();
    HICON small = LoadSmallIcon();
    if (large != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    }
    if (small != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}

void CentreInWorkArea(HWND window) {
    // Without a readable work area the window stays where the system put it.
    RECT workArea;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
        return;
    }
    const POINT origin = CenteredWindowOrigin(workArea);
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void NarrowLibrarySearch() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

POINT CenteredWindowOrigin(const RECT& workArea) {
    const LONG centredTop =
        workArea.top + (workArea.bottom - workArea.top - MAIN_WINDOW_HEIGHT) / 2;
    // In a work area lower than the window, centring would lift the caption, and with it the only
    // handle to move the window and its close button, above the screen.
    return POINT{workArea.left + (workArea.right - workArea.left - MAIN_WINDOW_WIDTH) / 2,
                 centredTop < workArea.top ? workArea.top : centredTop};
}

HWND CreateMainWindow(int showCommand) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    if (const auto initCommonControls = SystemFunctions().InitCommonControlsEx) {
        initCommonControls(&controls);
    }
    RegisterMainWindowClass();
    mainWindow = CreateWindowExW(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_CAPTION, WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, MAIN_WINDOW_WIDTH,
                                 MAIN_WINDOW_HEIGHT, nullptr, nullptr, appInstance, nullptr);
    if (mainWindow == nullptr) {
        return nullptr;
    }
    SetWindowIcons(mainWindow);
    CentreInWorkArea(mainWindow);
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    return mainWindow;
}

int RunMessageLoop() {
    MSG message = {};
    for (;;) {
        RepostPendingQuit();
        // -1 means the call itself failed; looping on it would spin forever.
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
