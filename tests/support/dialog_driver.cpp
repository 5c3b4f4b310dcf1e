#include "tests/support/dialog_driver.h"

#include <windows.h>
#include <dlgs.h>

namespace {

constexpr UINT STEP_MILLISECONDS = 100;

UINT_PTR timer = 0;
std::vector<DialogStep> steps;
std::size_t nextStep = 0;

// A dialog that is up and takes input: a message box it shows disables a file dialog until it goes.
BOOL CALLBACK FindAnswerableDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window) ||
        !IsWindowEnabled(window)) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK TakeStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = DrivenDialog();
    if (nextStep >= steps.size() || dialog == nullptr) {
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

}  // namespace

DialogDriver::DialogDriver(std::vector<DialogStep> answers) {
    steps = std::move(answers);
    nextStep = 0;
    timer = SetTimer(nullptr, 0, STEP_MILLISECONDS, TakeStep);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer);
}

// The thread's own windows, not the active one, which a program in another process can take.
HWND DrivenDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindAnswerableDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool DialogDriver::AllStepsTaken() const {
    return nextStep == steps.size();
}
