#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// A drop as the shell hands it over: movable global memory with a DROPFILES header and the wide
// paths, each NUL-terminated, then one more NUL.
HDROP MakeDrop(const std::vector<std::wstring>& paths);

// Whether the drop's memory has been given back to the system.
bool IsReleased(HDROP drop);

// Sends the drop to the main window as the shell does.
void SendDrop(const std::vector<std::wstring>& paths);

// A folder, nested in the parent folder, whose full path is at least that long, made through the
// extended-length form that such paths need.
std::wstring MakeDeepFolder(const std::wstring& parent, std::size_t minimumLength);
