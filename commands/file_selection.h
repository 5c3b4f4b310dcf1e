#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The Browse command: the open-file dialog with multiple selection, then one job per chosen file.
// Does nothing while a job runs.
void BrowseForFiles();

// A WM_DROPFILES: one job per dropped file, folders and unreadable entries skipped. During a batch
// the files wait for its end. The drop handle is always released.
void HandleDroppedFiles(HDROP drop);

// The full paths in the open-file dialog's selection buffer: either one full path, or a folder
// followed by names, each joined to the folder with one backslash (a root folder, such as C:\, has
// its own). Ends at the first empty string or at the buffer's end.
std::vector<std::wstring> SelectedPaths(const std::wstring& selection);

// Every entry of the drop, whatever its length.
std::vector<std::wstring> DroppedPaths(HDROP drop);
