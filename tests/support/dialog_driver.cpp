#include "tests/support/dialog_driver.h"

#include <windows.h>
#include <dlgs.h>

#include <algorithm>

namespace {

constexpr UINT STEP_MILLISECONDS = 100;

HHOOK hook = nullptr;
// The thread's top-level dialogs, the newest last: a message box the file dialog shows comes after
// it, and the file dialog is answered again once the box is gone.
std::vector<HWND> dialogs;
UINT_PTR timer = 0;
std::vector<DialogStep> steps;
std::size_t nextStep = 0;

void CALLBACK TakeStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = DrivenDialog();
    if (nextStep >= steps.size() || !IsWindowVisible(dialog)) {
        return;
    }
    const DialogStep& step = steps[nextStep++];
    if (step.before) {
        step.before();
    }
    if (!step.fileName.empty()) {
        SetDlgItemTextW(dialog, cmb13, step.fileName.c_str());
        SetDlgItemTextW(dialog, edt1, step.fileName.c_str());
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, step.button)));
}

// Creation and destruction rather than activation, which another program can take at any time.
LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND &&
        !(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style & WS_CHILD)) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770") {
            dialogs.push_back(window);
        }
    } else if (code == HCBT_DESTROYWND) {
        dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), window), dialogs.end());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DialogDriver::DialogDriver(std::vector<DialogStep> answers) {
    steps = std::move(answers);
    nextStep = 0;
    dialogs.clear();
    hook = SetWindowsHookExW(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
    timer = SetTimer(nullptr, 0, STEP_MILLISECONDS, TakeStep);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    dialogs.clear();
}

HWND DrivenDialog() {
    return dialogs.empty() ? nullptr : dialogs.back();
}

bool DialogDriver::AllStepsTaken() const {
    return nextStep == steps.size();
}
