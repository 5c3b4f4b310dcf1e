#include "commands/clear_stop.h"

#include "app/app_state.h"
#include "app/main_window.h"

void ClearReport() {
    SetWindowTextW(reportPane, L"");
    reportStarted = false;
    progressPercent = 0;
    RefreshProgressStrip();
    EnableWindow(clearButton, FALSE);
    EnableWindow(copyButton, FALSE);
    EnableWindow(saveButton, FALSE);
    SetWindowTextW(reportPane, REPORT_HINT_TEXT);
}

void RequestStop() {
    stopRequested = true;
    // At most one stop per job.
    EnableWindow(stopButton, FALSE);
}
