#include "commands/report_export.h"

#include <commdlg.h>

#include <cstring>
#include <memory>

#include "app/app_state.h"
#include "app/main_window.h"
#include "commands/file_batch.h"
#include "commands/kept_current_folder.h"
#include "commands/report_file.h"
#include "hashing/report_pane.h"

namespace {

constexpr wchar_t COPY_FEEDBACK_CAPTION[] = L"已复制!";
constexpr UINT COPY_FEEDBACK_MILLISECONDS = 1200;
constexpr DWORD SAVE_NAME_BUFFER_UNITS = 1024;
constexpr wchar_t PROPOSED_SAVE_NAME[] = L"hash.txt";
constexpr ULONGLONG CLIPBOARD_WAIT_MILLISECONDS = 400;
constexpr DWORD CLIPBOARD_RETRY_MILLISECONDS = 10;

struct GlobalFreer {
    using pointer = HGLOBAL;
    void operator()(HGLOBAL block) const { GlobalFree(block); }
};
using GlobalBlock = std::unique_ptr<HGLOBAL, GlobalFreer>;

GlobalBlock TextBlock(const std::wstring& text) {
    const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) {
        return block;
    }
    void* memory = GlobalLock(block.get());
    if (memory == nullptr) {
        return GlobalBlock();
    }
    std::memcpy(memory, text.c_str(), size);
    GlobalUnlock(block.get());
    return block;
}

void ShowCopyFeedback(HWND window) {
    SetWindowTextW(copyButton, COPY_FEEDBACK_CAPTION);
    SetTimer(window, COPY_FEEDBACK_TIMER, COPY_FEEDBACK_MILLISECONDS, nullptr);
}

// The chosen path; empty when the dialog was cancelled or failed.
std::wstring AskSavePath(HWND owner) {
    std::wstring name(SAVE_NAME_BUFFER_UNITS, L'\0');
    name.replace(0, std::wcslen(PROPOSED_SAVE_NAME), PROPOSED_SAVE_NAME);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"文本文件\0*.txt\0所有文件\0*.*\0";
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = SAVE_NAME_BUFFER_UNITS;
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    const KeptCurrentFolder keptFolder;
    if (!GetSaveFileNameW(&dialog)) {
        return std::wstring();
    }
    return std::wstring(name.c_str());
}

}  // namespace

// Clipboard managers, and the system's own clipboard history, hold the clipboard open for a moment
// after every change; a Copy pressed in that moment waits it out rather than do nothing.
bool OpenClipboardWhenFree(HWND owner) {
    const ULONGLONG deadline = GetTickCount64() + CLIPBOARD_WAIT_MILLISECONDS;
    while (!OpenClipboard(owner)) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(CLIPBOARD_RETRY_MILLISECONDS);
    }
    return true;
}

bool PlaceTextOnClipboard(HWND owner, const std::wstring& text) {
    // Prepared before the clipboard is emptied, so that a failure cannot cost the user what the
    // clipboard held.
    GlobalBlock block = TextBlock(text);
    if (!block || !OpenClipboardWhenFree(owner)) {
        return false;
    }
    const bool placed =
        EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block.get()) != nullptr;
    if (placed) {
        // The clipboard owns it now.
        block.release();
    }
    CloseClipboard();
    return placed;
}

void EndCopyFeedback(HWND window) {
    KillTimer(window, COPY_FEEDBACK_TIMER);
    SetWindowTextW(copyButton, COPY_CAPTION);
}

void CopyReportToClipboard(HWND window) {
    RunHoldingDrops([window] {
        // A failure ends the acknowledgement of an earlier Copy, which would now claim the
        // clipboard holds the report when it holds whatever the other program left there.
        if (PlaceTextOnClipboard(window, ReadReportText())) {
            ShowCopyFeedback(window);
        } else {
            EndCopyFeedback(window);
        }
        return false;
    });
}

void SaveReportToFile(HWND window) {
    RunHoldingDrops([window] {
        const std::wstring path = AskSavePath(window);
        if (!path.empty()) {
            WriteReportFile(path, ReadReportText());
        }
        return false;
    });
}
