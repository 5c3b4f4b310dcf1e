#include "hashing/file_details.h"

#include <vector>

#include "hashing/decimal_text.h"
#include "hashing/extended_path.h"
#include "hashing/report_pane.h"
#include "hashing/size_format.h"
#include "hashing/system_libraries.h"

namespace {

constexpr DWORD FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD;

std::wstring VersionNumbers(const VS_FIXEDFILEINFO& info) {
    return DecimalText(HIWORD(info.dwFileVersionMS)) + L"." +
           DecimalText(LOWORD(info.dwFileVersionMS)) + L"." +
           DecimalText(HIWORD(info.dwFileVersionLS)) + L"." +
           DecimalText(LOWORD(info.dwFileVersionLS));
}

// The size and the last-write time of the file whose bytes the passes read. Looked up by name, a
// symbolic link describes itself; opened, it is followed, as the passes follow it. A file that
// cannot be opened even for its attributes, such as the paging file, is still listed in its folder.
bool ReadFileRecord(const std::wstring& filePath, WIN32_FILE_ATTRIBUTE_DATA& record) {
    HANDLE file = CreateFileW(filePath.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION opened;
    const bool described =
        file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &opened);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!described) {
        return GetFileAttributesExW(filePath.c_str(), GetFileExInfoStandard, &record) != FALSE;
    }
    record.nFileSizeHigh = opened.nFileSizeHigh;
    record.nFileSizeLow = opened.nFileSizeLow;
    record.ftLastWriteTime = opened.ftLastWriteTime;
    return true;
}

}  // namespace

std::wstring FileVersionText(const std::wstring& path) {
    const SystemLibraryFunctions& version = SystemFunctions();
    if (version.GetFileVersionInfoSizeW == nullptr) {
        return std::wstring();
    }
    const std::wstring filePath = ExtendedPath(path);
    const DWORD size = version.GetFileVersionInfoSizeW(filePath.c_str(), nullptr);
    if (size == 0) {
        return std::wstring();
    }
    std::vector<unsigned char> versionInfo(size);
    if (!version.GetFileVersionInfoW(filePath.c_str(), 0, size, versionInfo.data())) {
        return std::wstring();
    }
    void* fixed = nullptr;
    UINT fixedLength = 0;
    if (!version.VerQueryValueW(versionInfo.data(), L"\\", &fixed, &fixedLength) ||
        fixed == nullptr || fixedLength < sizeof(VS_FIXEDFILEINFO)) {
        return std::wstring();
    }
    const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
    if (info.dwSignature != FIXED_FILE_INFO_SIGNATURE) {
        return std::wstring();
    }
    return VersionNumbers(info);
}

std::wstring LocalTimeText(const FILETIME& stamp) {
    // FileTimeToLocalFileTime would apply today's daylight-saving bias to every date; the file
    // manager shows each stamp with the rules of its own date, and so does this.
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!FileTimeToSystemTime(&stamp, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return std::wstring();
    }
    return DecimalText(local.wYear, 4) + L"/" + DecimalText(local.wMonth, 2) + L"/" +
           DecimalText(local.wDay, 2) + L" " + DecimalText(local.wHour, 2) + L":" +
           DecimalText(local.wMinute, 2) + L":" + DecimalText(local.wSecond, 2);
}

std::uint64_t AppendFileDetails(const std::wstring& path) {
    const std::wstring version = FileVersionText(path);
    if (!version.empty()) {
        AppendToReport(L"版本: " + version + L"\r\n");
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!ReadFileRecord(ExtendedPath(path), attributes)) {
        return 0;
    }
    const std::uint64_t size =
        (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
    AppendToReport(L"大小: " + FileSizeText(size) + L"\r\n");
    const std::wstring time = LocalTimeText(attributes.ftLastWriteTime);
    if (!time.empty()) {
        AppendToReport(L"修改时间: " + time + L"\r\n");
    }
    return size;
}
