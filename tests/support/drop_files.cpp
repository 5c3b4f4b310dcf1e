#include "tests/support/drop_files.h"

#include <shlobj.h>

#include <cstring>
#include <stdexcept>

#include "app/app_state.h"

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) {
        names += path;
        names += L'\0';
    }
    names += L'\0';
    const std::size_t namesSize = names.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + namesSize);
    if (block == nullptr) {
        throw std::runtime_error("cannot allocate a drop");
    }
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), namesSize);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

bool IsReleased(HDROP drop) {
    return GlobalFlags(drop) == GMEM_INVALID_HANDLE;
}

void SendDrop(const std::vector<std::wstring>& paths) {
    SendMessageW(mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

std::wstring MakeDeepFolder(const std::wstring& parent, std::size_t minimumLength) {
    std::wstring folder = parent;
    while (folder.size() < minimumLength) {
        folder += L"\\" + std::wstring(100, L'd');
        if (!CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr)) {
            throw std::runtime_error("cannot create a deep folder");
        }
    }
    return folder;
}
