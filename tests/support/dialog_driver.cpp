#include "tests/support/dialog_driver.h"

#include <windows.h>
#include <dlgs.h>

namespace {

constexpr UINT STEP_MILLISECONDS = 100;

HHOOK hook = nullptr;
HWND dialog = nullptr;
UINT_PTR timer = 0;
std::vector<DialogStep> steps;
std::size_t nextStep = 0;

void CALLBACK TakeStep(HWND, UINT, UINT_PTR, DWORD) {
    if (nextStep >= steps.size() || !IsWindow(dialog)) {
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

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770") {
            dialog = window;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DialogDriver::DialogDriver(std::vector<DialogStep> answers) {
    steps = std::move(answers);
    nextStep = 0;
    dialog = nullptr;
    hook = SetWindowsHookExW(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId());
    timer = SetTimer(nullptr, 0, STEP_MILLISECONDS, TakeStep);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    dialog = nullptr;
}

bool DialogDriver::AllStepsTaken() const {
    return nextStep == steps.size();
}
