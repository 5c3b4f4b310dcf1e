#include "commands/report_file.h"

#include <windows.h>

#include <memory>

#include "hashing/extended_path.h"

namespace {

constexpr char UTF8_BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr int TEMPORARY_NAME_ATTEMPTS = 100;

struct HandleCloser {
    using pointer = HANDLE;
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<HANDLE, HandleCloser>;

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

// A new, empty file in the target's folder, under a name no other file has.
FileHandle CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < TEMPORARY_NAME_ATTEMPTS; ++attempt) {
        temporary = FolderOf(target) + L"~ordwen-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++counter) + L".tmp";
        HANDLE file = CreateFileW(ExtendedLengthPath(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return FileHandle(file);
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return FileHandle();
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t left = bytes.size() - written;
        const DWORD request = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!WriteFile(file, bytes.data() + written, request, &done, nullptr) || done == 0) {
            return false;
        }
        written += done;
    }
    return true;
}

// Closed in every case, so that a failed file can be deleted.
bool WriteAndClose(FileHandle& file, const std::string& bytes) {
    const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    return CloseHandle(file.release()) != FALSE && written;
}

// A read-only or locked target, or one the user may not write, stays as it is, as it would if it
// were written in place: renaming over it would not always be refused (the read-only attribute
// does not stop a rename everywhere, nor an administrator's write on every file system).
bool CanReplace(const std::wstring& target) {
    const std::wstring path = ExtendedLengthPath(target);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    HANDLE probe = CreateFileW(path.c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(probe);
    return true;
}

}  // namespace

bool ReportFileBytes(const std::wstring& text, std::string& bytes) {
    bytes = UTF8_BYTE_ORDER_MARK;
    if (text.empty()) {
        return true;
    }
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return false;
    }
    bytes.resize(bytes.size() + static_cast<std::size_t>(size));
    return WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &bytes[3], size, nullptr,
                               nullptr) == size;
}

bool WriteReportFile(const std::wstring& target, const std::wstring& text) {
    std::string bytes;
    if (!CanReplace(target) || !ReportFileBytes(text, bytes)) {
        return false;
    }
    std::wstring temporary;
    FileHandle file = CreateTemporaryBeside(target, temporary);
    if (!file) {
        return false;
    }
    const std::wstring temporaryPath = ExtendedLengthPath(temporary);
    if (!WriteAndClose(file, bytes) ||
        !MoveFileExW(temporaryPath.c_str(), ExtendedLengthPath(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporaryPath.c_str());
        return false;
    }
    return true;
}
