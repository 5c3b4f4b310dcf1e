#include "tests/support/test_window.h"

#include <stdexcept>

#include "app/app_state.h"
#include "app/main_window.h"
#include "hashing/file_pass.h"

namespace {

constexpr wchar_t TEST_WINDOW_CLASS[] = L"OrdwenTestMainWindow";

struct PostAtPass {
    int passNumber;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// lParam: the index of the action in actionsDuringPasses.
constexpr UINT RUN_ACTION_MESSAGE = WM_APP + 0x3A0;

std::vector<StripPaint> stripPaints;
std::vector<PostAtPass> postsAtPass;
std::vector<std::function<void()>> actionsDuringPasses;
int zeroPaints = 0;

void RecordStripPaint() {
    stripPaints.push_back(StripPaint{progressPercent, jobRunning, stopRequested,
                                     IsEnabled(browseButton), IsEnabled(stopButton)});
    if (progressPercent != 0) {
        return;
    }
    ++zeroPaints;
    for (const PostAtPass& post : postsAtPass) {
        if (post.passNumber == zeroPaints) {
            PostMessageW(mainWindow, post.message, post.wParam, post.lParam);
        }
    }
}

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
            if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlID == IDC_PROGRESS) {
                RecordStripPaint();
            }
            return TRUE;
        case RUN_ACTION_MESSAGE:
            actionsDuringPasses[static_cast<std::size_t>(lParam)]();
            return 0;
        // The commands and the drop go where the program's window sends them.
        case WM_COMMAND:
        case WM_TIMER:
        case WM_DROPFILES:
            return MainWindowProc(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD extendedStyle,
                 int id, int x, int y, int width, int height) {
    return CreateWindowExW(extendedStyle, className, text, style, x, y, width, height, mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

HWND CreateButton(int id, int x, bool enabled) {
    const DWORD style = WS_CHILD | WS_VISIBLE | (enabled ? 0 : WS_DISABLED);
    return CreateChild(L"BUTTON", L"", style, 0, id, x, 18, 84, 36);
}

void CreateControls() {
    browseButton = CreateButton(IDC_BROWSE, 10, true);
    clearButton = CreateButton(IDC_CLEAR, 102, false);
    copyButton = CreateButton(IDC_COPY, 194, false);
    saveButton = CreateButton(IDC_SAVE, 286, false);
    stopButton = CreateButton(IDC_STOP, 390, false);
    for (int kind = Md5; kind <= Crc32; ++kind) {
        algorithmCheckBoxes[kind] =
            CreateChild(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, IDC_MD5 + kind,
                        10 + 120 * kind, 60, 110, 24);
        SendMessageW(algorithmCheckBoxes[kind], BM_SETCHECK, BST_CHECKED, 0);
    }
    reportPane = CreateChild(
        L"EDIT", L"hint",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
        WS_EX_CLIENTEDGE, IDC_REPORT, 10, 90, 740, 380);
    SendMessageW(reportPane, EM_SETLIMITTEXT, 0, 0);
    progressStrip = CreateChild(L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0,
                                IDC_PROGRESS, 10, 480, 740, 22);
}

}  // namespace

TestMainWindow::TestMainWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = TEST_WINDOW_CLASS;
    RegisterClassW(&windowClass);
    mainWindow = CreateWindowExW(0, TEST_WINDOW_CLASS, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 780, 660,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    if (mainWindow == nullptr) {
        throw std::runtime_error("cannot create the test window");
    }
    CreateControls();
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    UpdateWindow(mainWindow);
    PumpPendingMessages();
    stripPaints.clear();
    postsAtPass.clear();
    actionsDuringPasses.clear();
    zeroPaints = 0;
}

TestMainWindow::~TestMainWindow() {
    DestroyWindow(mainWindow);
    mainWindow = browseButton = clearButton = copyButton = saveButton = stopButton = nullptr;
    reportPane = progressStrip = nullptr;
    for (HWND& box : algorithmCheckBoxes) {
        box = nullptr;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void TestMainWindow::SetChecked(AlgorithmKind kind, bool checked) {
    SendMessageW(algorithmCheckBoxes[kind], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TestMainWindow::StopDuringPass(int passNumber) {
    PostDuringPass(passNumber, WM_COMMAND, IDC_STOP);
}

void TestMainWindow::PostDuringPass(int passNumber, UINT message, WPARAM wParam, LPARAM lParam) {
    postsAtPass.push_back(PostAtPass{zeroPaints + passNumber, message, wParam, lParam});
}

void TestMainWindow::RunDuringPass(int passNumber, std::function<void()> action) {
    actionsDuringPasses.push_back(std::move(action));
    PostDuringPass(passNumber, RUN_ACTION_MESSAGE, 0,
                   static_cast<LPARAM>(actionsDuringPasses.size() - 1));
}

const std::vector<StripPaint>& TestMainWindow::StripPaints() const {
    return stripPaints;
}

bool IsEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

void TestMainWindow::CheckOnly(AlgorithmKind kind) {
    for (int other = Md5; other <= Crc32; ++other) {
        SetChecked(static_cast<AlgorithmKind>(other), other == kind);
    }
}
