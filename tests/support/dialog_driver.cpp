#include "tests/support/dialog_driver.h"

#include <windows.h>
#include <dlgs.h>

#include <sstream>

namespace {

constexpr UINT STEP_MILLISECONDS = 100;
// A dialog still open this long after the last step waits for one that the test does not have.
constexpr ULONGLONG OVERDUE_MILLISECONDS = 2000;

UINT_PTR timer = 0;
std::vector<DialogStep> steps;
std::size_t nextStep = 0;
ULONGLONG lastStepTime = 0;
bool overdueReported = false;

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

// Null for a null parent, where FindWindowExW would search the desktop's windows instead.
HWND ChildOfClass(HWND parent, const wchar_t* className, HWND after = nullptr) {
    return parent == nullptr ? nullptr : FindWindowExW(parent, after, className, nullptr);
}

// The newer dialog that Windows shows for a save without a hook keeps its name box several windows
// down: an edit in a combo box in one of the FloatNotifySink windows of its DirectUIHWND.
HWND NewerDialogNameBox(HWND dialog) {
    HWND view = ChildOfClass(ChildOfClass(dialog, L"DUIViewWndClassName"), L"DirectUIHWND");
    for (HWND sink = ChildOfClass(view, L"FloatNotifySink"); sink != nullptr;
         sink = ChildOfClass(view, L"FloatNotifySink", sink)) {
        if (HWND edit = ChildOfClass(ChildOfClass(sink, L"ComboBox"), L"Edit")) {
            return edit;
        }
    }
    return nullptr;
}

void Press(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// IDOK to IDNO, by the names on their buttons.
std::wstring ButtonName(int button) {
    const wchar_t* names[] = {L"", L"OK", L"Cancel", L"Abort", L"Retry", L"Ignore", L"Yes", L"No"};
    return button > 0 && button <= IDNO ? names[button] : std::to_wstring(button);
}

std::wstring LastStepText() {
    if (steps.empty()) {
        return L"which had none";
    }
    const DialogStep& step = steps.back();
    std::wostringstream text;
    text << L"step " << steps.size() << L" of " << steps.size() << L", which ";
    if (!step.fileName.empty()) {
        text << L"typed \"" << step.fileName << L"\" and ";
    }
    text << L"pressed " << ButtonName(step.button);
    return text.str();
}

// Such a dialog would hold the test until CTest's time-out: the test fails at once instead, and
// the dialog is cancelled, or answered No where it has no Cancel, as a message box may.
void CancelOverdueDialog(HWND dialog) {
    if (GetTickCount64() - lastStepTime < OVERDUE_MILLISECONDS) {
        return;
    }
    if (!overdueReported) {
        overdueReported = true;
        wchar_t title[128] = {};
        GetWindowTextW(dialog, title, 128);
        std::wostringstream message;
        message << L"the dialog \"" << title << L"\" was still open " << OVERDUE_MILLISECONDS / 1000
                << L" s after the driver's last step, " << LastStepText() << L"; it is cancelled";
        ReportOverdueDialog(message.str());
    }
    const bool onlyNo = GetDlgItem(dialog, IDCANCEL) == nullptr && GetDlgItem(dialog, IDNO);
    Press(dialog, onlyNo ? IDNO : IDCANCEL);
}

void CALLBACK TakeStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = DrivenDialog();
    if (dialog == nullptr) {
        return;
    }
    if (nextStep >= steps.size()) {
        CancelOverdueDialog(dialog);
        return;
    }
    const DialogStep& step = steps[nextStep++];
    if (step.before) {
        step.before();
    }
    if (!step.fileName.empty()) {
        SetWindowTextW(FileNameBox(dialog), step.fileName.c_str());
    }
    Press(dialog, step.button);
    lastStepTime = GetTickCount64();
}

}  // namespace

DialogDriver::DialogDriver(std::vector<DialogStep> answers) {
    steps = std::move(answers);
    nextStep = 0;
    lastStepTime = GetTickCount64();
    overdueReported = false;
    timer = SetTimer(nullptr, 0, STEP_MILLISECONDS, TakeStep);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer);
}

// The thread's own windows, not the active one, which a program in another process can take.
HWND DrivenDialog() {
    return AnswerableDialogOf(GetCurrentThreadId());
}

HWND AnswerableDialogOf(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, FindAnswerableDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FileNameBox(HWND dialog) {
    for (const int id : {cmb13, edt1}) {
        if (HWND box = GetDlgItem(dialog, id)) {
            return box;
        }
    }
    return NewerDialogNameBox(dialog);
}

bool DialogDriver::AllStepsTaken() const {
    return nextStep == steps.size();
}
