#include "commands/file_selection.h"

#include <commdlg.h>
#include <cderr.h>

#include <memory>

#include "app/app_state.h"
#include "commands/file_batch.h"
#include "commands/kept_current_folder.h"

namespace {

// Room for any selection a person can make: the folder and every name of a folder of half a
// million photos, or of 64,000 names of the longest kind. The dialog copies the whole selection
// into it (Wine's without looking at its size) and says it did not fit only in two bytes, too few
// for the size of such a selection, so the room has to be there from the start.
constexpr DWORD SELECTION_BUFFER_UNITS = 1u << 24;
constexpr DWORD LARGEST_SELECTION_BUFFER_UNITS = 1u << 28;
constexpr UINT DROP_ENTRY_COUNT_QUERY = 0xFFFFFFFF;

struct PagesReleaser {
    void operator()(wchar_t* units) const { VirtualFree(units, 0, MEM_RELEASE); }
};
using SelectionPages = std::unique_ptr<wchar_t[], PagesReleaser>;

// Pages that the system hands out zero-filled and backs with memory only where they are written,
// so the buffer costs what the selection fills.
SelectionPages AllocateSelectionPages(DWORD units) {
    return SelectionPages(static_cast<wchar_t*>(VirtualAlloc(
        nullptr, std::size_t{units} * sizeof(wchar_t), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)));
}

// The selection's strings, each with its NUL, without the zeros after the last.
std::wstring UsedSelection(const wchar_t* units, DWORD count) {
    DWORD end = 0;
    while (end + 1 < count && (units[end] != L'\0' || units[end + 1] != L'\0')) {
        ++end;
    }
    return std::wstring(units, end + 1);
}

bool RunOpenDialog(wchar_t* selection, DWORD units) {
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = L"所有文件\0*.*\0";
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = selection;
    dialog.nMaxFile = units;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
    const KeptCurrentFolder keptFolder;
    return GetOpenFileNameW(&dialog) != FALSE;
}

// The selection's strings; empty when the dialog was cancelled or failed. A selection too large
// even for that room (only Windows reports one) is asked for again with twice the room rather than
// lost without a word.
std::wstring ShowOpenDialog() {
    for (DWORD units = SELECTION_BUFFER_UNITS; units <= LARGEST_SELECTION_BUFFER_UNITS;
         units *= 2) {
        const SelectionPages selection = AllocateSelectionPages(units);
        if (!selection) {
            return std::wstring();
        }
        if (RunOpenDialog(selection.get(), units)) {
            return UsedSelection(selection.get(), units);
        }
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) {
            return std::wstring();
        }
    }
    return std::wstring();
}

std::wstring DroppedPath(HDROP drop, UINT index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) {
        return std::wstring();
    }
    std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, index, path.data(), length + 1);
    path.resize(copied <= length ? copied : length);
    return path;
}

}  // namespace

void BrowseForFiles() {
    if (jobRunning) {
        return;
    }
    RunHoldingDrops([] { return HashChosenPaths(SelectedPaths(ShowOpenDialog())); });
}

void HandleDroppedFiles(HDROP drop) {
    std::vector<std::wstring> paths = DroppedPaths(drop);
    DragFinish(drop);
    HashOrHoldDroppedPaths(std::move(paths));
}

std::vector<std::wstring> SelectedPaths(const std::wstring& selection) {
    std::vector<std::wstring> strings;
    std::size_t start = 0;
    while (start < selection.size()) {
        std::size_t end = selection.find(L'\0', start);
        if (end == std::wstring::npos) {
            end = selection.size();
        }
        if (end == start) {
            break;
        }
        strings.push_back(selection.substr(start, end - start));
        start = end + 1;
    }
    if (strings.size() <= 1) {
        return strings;
    }
    // A root folder comes with its own backslash (C:\), any other without one; the path formed here
    // is the one the report, the clipboard and the saved file show.
    const std::wstring& folder = strings[0];
    const std::wstring prefix = folder.back() == L'\\' ? folder : folder + L'\\';
    std::vector<std::wstring> paths;
    for (std::size_t name = 1; name < strings.size(); ++name) {
        paths.push_back(prefix + strings[name]);
    }
    return paths;
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, DROP_ENTRY_COUNT_QUERY, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring path = DroppedPath(drop, index);
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}
