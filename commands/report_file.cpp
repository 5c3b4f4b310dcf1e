#include "commands/report_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "hashing/extended_path.h"

namespace {

constexpr char UTF8_BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr DWORD LARGEST_WRITE = 0x40000000;
// A plain write, which empties the file as it opens it, is refused a folder, a read-only file, and
// a hidden or system file, since it does not repeat those attributes. Opening in place is refused
// only the first two, and not even those everywhere (Wine run as root writes read-only files), so
// the attributes of the opened file decide.
constexpr DWORD UNWRITABLE_ATTRIBUTES = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY |
                                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct HandleCloser {
    using pointer = HANDLE;
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<HANDLE, HandleCloser>;

constexpr DWORD SHARED_AS_A_PLAIN_WRITE = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The target itself, shared as a plain write shares it: writing in place keeps the file's security,
// owner, attributes, streams and hard links, and goes through a symbolic link to the file it names.
// Only a missing target, which the save then creates, is opened with the right to delete it:
// another program holding an existing target open may not share that right. Whether the save
// creates the file is told by the first open, since Wine calls a file made through a dangling link
// one that already existed.
FileHandle OpenInPlace(const std::wstring& path, bool& created) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, SHARED_AS_A_PLAIN_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    created = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (created) {
        file = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, SHARED_AS_A_PLAIN_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// By the handle, not by the name: through a symbolic link the name is the link, which the save
// did not create.
void RemoveWhenClosed(HANDLE file) {
    FILE_DISPOSITION_INFO removal = {TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &removal, sizeof removal);
}

bool WriteAll(HANDLE file, const char* data, std::uint64_t size) {
    while (size > 0) {
        const DWORD request = static_cast<DWORD>(std::min<std::uint64_t>(size, LARGEST_WRITE));
        DWORD done = 0;
        if (!WriteFile(file, data, request, &done, nullptr) || done == 0) {
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

bool MoveTo(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAt(HANDLE file, std::uint64_t offset, const char* data, std::uint64_t size) {
    return MoveTo(file, offset) && WriteAll(file, data, size);
}

bool CutAt(HANDLE file, std::uint64_t size) {
    return MoveTo(file, size) && SetEndOfFile(file);
}

// The old report is changed only once the new one is known to fit. A longer report first writes
// what lies past the old end, which on a full disk fails while the old report is still whole
// (moving the end of the file alone would not do: on some file systems that leaves a hole that
// takes no space); a shorter one fits in the space the file holds. Then the old bytes are
// overwritten where they lie.
bool OverwriteInPlace(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER oldLength;
    if (!GetFileSizeEx(file, &oldLength)) {
        return false;
    }
    const auto old = static_cast<std::uint64_t>(oldLength.QuadPart);
    const std::uint64_t length = bytes.size();
    if (length > old) {
        if (!WriteAt(file, old, bytes.data() + old, length - old)) {
            CutAt(file, old);
            return false;
        }
    } else if (!CutAt(file, length)) {
        return false;
    }
    return WriteAt(file, 0, bytes.data(), std::min(old, length));
}

bool WriteOpenedTarget(HANDLE file, const std::string& bytes) {
    if (GetFileType(file) != FILE_TYPE_DISK) {
        // A device or a pipe keeps no old report; it takes the bytes as a plain write gives them.
        return WriteAll(file, bytes.data(), bytes.size());
    }
    BY_HANDLE_FILE_INFORMATION information;
    return GetFileInformationByHandle(file, &information) &&
           (information.dwFileAttributes & UNWRITABLE_ATTRIBUTES) == 0 &&
           OverwriteInPlace(file, bytes);
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
    if (!ReportFileBytes(text, bytes)) {
        return false;
    }
    const std::wstring path = ExtendedLengthPath(target);
    bool created = false;
    FileHandle file = OpenInPlace(path, created);
    if (!file) {
        return false;
    }
    if (WriteOpenedTarget(file.get(), bytes)) {
        return true;
    }
    if (created) {
        // A failed save leaves no file of ours behind.
        RemoveWhenClosed(file.get());
    }
    return false;
}
