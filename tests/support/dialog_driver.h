#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// One answer to a file dialog: an action of the test's own first, then the text typed into the
// file-name field (when not empty), then a press on the button (IDOK or IDCANCEL).
struct DialogStep {
    std::function<void()> before;
    std::wstring fileName;
    int button;
};

// Answers the file dialogs that the thread opens while it lives, step by step, each step from a
// timer that the dialog's own message loop runs. A dialog still open a while after the last step
// waits for a step the test lacks: the test fails, saying which, and the dialog is cancelled.
class DialogDriver {
  public:
    explicit DialogDriver(std::vector<DialogStep> steps);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Each step is taken on a dialog that is open.
    bool AllStepsTaken() const;
};

// The thread's dialog that the next step answers: the one shown that takes input; null when none.
HWND DrivenDialog();

// The dialog of that thread, of this process or another, that is shown and takes input.
HWND AnswerableDialogOf(DWORD threadId);

// Reports a dialog still open a while after the last step: a test fails, a benchmark ends.
void ReportOverdueDialog(const std::wstring& message);

// The box that takes the file name: cmb13 or edt1, or in the newer save dialog of Windows the one
// it keeps several windows down; null where there is none.
HWND FileNameBox(HWND dialog);
