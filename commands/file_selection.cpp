#include "commands/file_selection.h"

#include <commdlg.h>

#include "app/app_state.h"
#include "commands/file_batch.h"

namespace {

constexpr DWORD SELECTION_BUFFER_UNITS = 32768;
constexpr UINT DROP_ENTRY_COUNT_QUERY = 0xFFFFFFFF;

// The full selection buffer, NULs included; empty when the dialog was cancelled or failed.
std::wstring ShowOpenDialog() {
    std::wstring selection(SELECTION_BUFFER_UNITS, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = L"所有文件\0*.*\0";
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = selection.data();
    dialog.nMaxFile = SELECTION_BUFFER_UNITS;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) {
        return std::wstring();
    }
    return selection;
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
