#include "app/main_window.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "app/control_layout.h"
#include "app/progress_strip.h"
#include "commands/clear_stop.h"
#include "commands/file_selection.h"
#include "commands/report_export.h"

namespace {

constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE;
constexpr DWORD DISABLED_BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_DISABLED;
constexpr DWORD CHECK_BOX_STYLE = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
constexpr DWORD REPORT_PANE_STYLE =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
constexpr DWORD PROGRESS_STRIP_STYLE = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;

// WM_COPYGLOBALDATA, not in the SDK's headers, is the system's own message that copies a drop's
// data into the process of the window it is dropped on.
constexpr UINT DROP_MESSAGES[] = {WM_DROPFILES, WM_COPYDATA, 0x0049};

constexpr int BUTTON_TOP = 18;
constexpr int BUTTON_HEIGHT = 36;

struct Placement {
    int x;
    int y;
    int width;
    int height;
};

struct ButtonSpec {
    HWND* handle;
    int id;
    const wchar_t* caption;
    DWORD style;
    int x;
    int width;
};

struct CheckBoxSpec {
    int id;
    const wchar_t* caption;
};

HFONT CreateUiFont(int height, int weight, const wchar_t* face) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

void CreateFonts() {
    uiFont = CreateUiFont(-14, FW_NORMAL, L"Microsoft YaHei UI");
    monoFont = CreateUiFont(-14, FW_NORMAL, L"Consolas");
    percentFont = CreateUiFont(-16, FW_BOLD, L"Microsoft YaHei UI");
}

HWND CreateControl(HWND parent, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                   DWORD style, int id, Placement at) {
    return CreateWindowExW(exStyle, className, text, style, at.x, at.y, at.width, at.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), appInstance, nullptr);
}

void SetControlFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CreateButtons(HWND window) {
    const ButtonSpec buttons[] = {
        {&browseButton, IDC_BROWSE, L"浏览(B)...", BUTTON_STYLE, 10, 84},
        {&clearButton, IDC_CLEAR, L"清除(L)", DISABLED_BUTTON_STYLE, 102, 84},
        {&copyButton, IDC_COPY, COPY_CAPTION, DISABLED_BUTTON_STYLE, 194, 84},
        {&saveButton, IDC_SAVE, L"保存(S)...", DISABLED_BUTTON_STYLE, 286, 96},
        {&stopButton, IDC_STOP, L"停止(T)", DISABLED_BUTTON_STYLE, 390, 84},
    };
    for (const ButtonSpec& button : buttons) {
        *button.handle =
            CreateControl(window, 0, L"BUTTON", button.caption, button.style, button.id,
                          Placement{button.x, BUTTON_TOP, button.width, BUTTON_HEIGHT});
        SetControlFont(*button.handle, uiFont);
    }
}

void CreateCheckBoxes(HWND window) {
    const CheckBoxSpec checkBoxes[] = {
        {IDC_MD5, L"MD5"}, {IDC_SHA1, L"SHA1"}, {IDC_SHA256, L"SHA256"}, {IDC_CRC32, L"CRC32"}};
    for (const CheckBoxSpec& checkBox : checkBoxes) {
        HWND box = CreateControl(window, 0, L"BUTTON", checkBox.caption, CHECK_BOX_STYLE,
                                 checkBox.id, Placement{0, 0, CHECK_BOX_WIDTH, CHECK_BOX_HEIGHT});
        algorithmCheckBoxes[checkBox.id - IDC_MD5] = box;
        SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
        SetControlFont(box, uiFont);
    }
}

void CreateReportPane(HWND window) {
    reportPane = CreateControl(window, WS_EX_CLIENTEDGE, L"EDIT", REPORT_HINT_TEXT,
                               REPORT_PANE_STYLE, IDC_REPORT, Placement{10, 72, 900, 380});
    // The default limit of an edit control is a few tens of thousands of characters; a report of
    // a few hundred files would silently lose its end.
    SendMessageW(reportPane, EM_SETLIMITTEXT, 0, 0);
    SetControlFont(reportPane, monoFont);
}

void CreateProgressStrip(HWND window) {
    progressStrip = CreateControl(window, 0, L"STATIC", nullptr, PROGRESS_STRIP_STYLE, IDC_PROGRESS,
                                  Placement{10, 0, 760, 22});
}

// Run as administrator, the window is isolated from Explorer, which runs at a lower integrity
// level: the messages that carry a drop would be refused, and the user would see the "not allowed"
// cursor. Only these three are let through, for this window alone.
void AcceptDropsFromLowerIntegrity(HWND window) {
    for (UINT message : DROP_MESSAGES) {
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
    }
}

LRESULT OnCreate(HWND window) {
    CreateFonts();
    CreateButtons(window);
    CreateCheckBoxes(window);
    CreateReportPane(window);
    CreateProgressStrip(window);
    DragAcceptFiles(window, TRUE);
    AcceptDropsFromLowerIntegrity(window);
    progressPercent = 0;
    LayoutControls(window);
    return 0;
}

LRESULT OnGetMinMaxInfo(LPARAM lParam) {
    auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    limits->ptMinTrackSize = POINT{MAIN_WINDOW_MIN_WIDTH, MAIN_WINDOW_MIN_HEIGHT};
    return 0;
}

LRESULT OnDrawItem(HWND window, WPARAM wParam, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item == nullptr || item->CtlType != ODT_STATIC || item->CtlID != IDC_PROGRESS) {
        return DefWindowProcW(window, WM_DRAWITEM, wParam, lParam);
    }
    return DrawProgressStrip(*item);
}

LRESULT OnCommand(HWND window, WPARAM wParam) {
    switch (CommandFor(wParam)) {
        case WindowCommand::Browse:
            BrowseForFiles();
            break;
        case WindowCommand::Clear:
            ClearReport();
            break;
        case WindowCommand::Copy:
            CopyReportToClipboard(window);
            break;
        case WindowCommand::Save:
            SaveReportToFile(window);
            break;
        case WindowCommand::Stop:
            RequestStop();
            break;
        case WindowCommand::None:
            break;
    }
    return 0;
}

LRESULT OnTimer(HWND window, WPARAM timerId) {
    if (timerId == COPY_FEEDBACK_TIMER) {
        EndCopyFeedback(window);
    }
    return 0;
}

LRESULT OnDropFiles(WPARAM wParam) {
    HandleDroppedFiles(reinterpret_cast<HDROP>(wParam));
    return 0;
}

}  // namespace

WindowCommand CommandFor(WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDC_BROWSE:
            return jobRunning ? WindowCommand::None : WindowCommand::Browse;
        case IDC_CLEAR:
            return WindowCommand::Clear;
        case IDC_COPY:
            return WindowCommand::Copy;
        case IDC_SAVE:
            return WindowCommand::Save;
        case IDC_STOP:
            return WindowCommand::Stop;
        default:
            return WindowCommand::None;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            LayoutControls(window);
            return 0;
        case WM_GETMINMAXINFO:
            return OnGetMinMaxInfo(lParam);
        case WM_DRAWITEM:
            return OnDrawItem(window, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(window, wParam);
        case WM_TIMER:
            return OnTimer(window, wParam);
        case WM_DROPFILES:
            return OnDropFiles(wParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
