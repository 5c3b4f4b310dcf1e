#include "tests/support/program_process.h"

std::wstring TestProgramFolder() {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring ProgramPath() {
    const wchar_t* other = _wgetenv(L"ORDWEN_PROGRAM");
    if (other != nullptr && *other != L'\0') {
        return other;
    }
    std::wstring path = TestProgramFolder();
    path.resize(path.find_last_of(L'\\', path.size() - 2) + 1);
    return path + L"Ordwen.exe";
}

HWND WaitForProgramWindow(DWORD processId) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, L"OrdwenWin10Class", nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId) {
                return window;
            }
        }
        Sleep(50);
    }
    return nullptr;
}
