#include "tests/support/file_setup.h"

#include <winioctl.h>

#include <stdexcept>

namespace {

class FileHandle {
  public:
    FileHandle(const std::wstring& path, DWORD access, DWORD disposition)
        : handle_(CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, 0,
                              nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw std::runtime_error("cannot open a test file");
        }
    }
    ~FileHandle() { CloseHandle(handle_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace

void MakeSizedFile(const std::wstring& path, std::uint64_t size) {
    FileHandle file(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    DWORD returned = 0;
    // Without sparse support the end of file is still moved without writing anything.
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get())) {
        throw std::runtime_error("cannot size a test file");
    }
}

FILETIME UtcStamp(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
                  WORD milliseconds) {
    SYSTEMTIME utc = {};
    utc.wYear = year;
    utc.wMonth = month;
    utc.wDay = day;
    utc.wHour = hour;
    utc.wMinute = minute;
    utc.wSecond = second;
    utc.wMilliseconds = milliseconds;
    FILETIME stamp = {};
    if (!SystemTimeToFileTime(&utc, &stamp)) {
        throw std::runtime_error("not a calendar time");
    }
    return stamp;
}

void SetWriteTimeUtc(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour,
                     WORD minute, WORD second, WORD milliseconds) {
    const FILETIME stamp = UtcStamp(year, month, day, hour, minute, second, milliseconds);
    FileHandle file(path, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING);
    if (!SetFileTime(file.Get(), nullptr, nullptr, &stamp)) {
        throw std::runtime_error("cannot set a test file's time");
    }
}
