#include "hashing/device_path.h"

#include <windows.h>

#include "hashing/extended_path.h"

bool OpensAsDevice(const std::wstring& path) {
    // Attribute access only: no sharing conflict with a program that holds the file, and no
    // device waits for input to grant it. Backup semantics let a folder open too.
    HANDLE handle = CreateFileW(ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    return type != FILE_TYPE_DISK;
}
