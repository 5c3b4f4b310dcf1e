#include "commands/kept_current_folder.h"

#include <windows.h>

KeptCurrentFolder::KeptCurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    folder_.resize(size);
    const DWORD length = GetCurrentDirectoryW(size, folder_.data());
    folder_.resize(length < size ? length : 0);
}

KeptCurrentFolder::~KeptCurrentFolder() {
    if (!folder_.empty()) {
        SetCurrentDirectoryW(folder_.c_str());
    }
}
