#include "hashing/report_pane.h"

#include "app/app_state.h"

void AppendToReport(const std::wstring& text) {
    if (reportPane == nullptr) {
        return;
    }
    const int length = GetWindowTextLengthW(reportPane);
    SendMessageW(reportPane, EM_SETSEL, length, length);
    SendMessageW(reportPane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(reportPane, EM_SCROLLCARET, 0, 0);
}

std::wstring ReadReportText() {
    if (reportPane == nullptr) {
        return std::wstring();
    }
    const int length = GetWindowTextLengthW(reportPane);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(reportPane, text.data(), length + 1);
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return text;
}
