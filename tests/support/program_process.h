#pragma once

#include <windows.h>

#include <string>

// The program is built beside the tests' own folder: build/Ordwen.exe and build/tests/*.exe.
// ORDWEN_PROGRAM names another build of it instead, such as a release.
std::wstring ProgramPath();

// The folder of the running test program, with a trailing backslash.
std::wstring TestProgramFolder();

// The launched program's main window, once it has one; null after ten seconds without.
HWND WaitForProgramWindow(DWORD processId);
