#include "tests/support/system_settings.h"

#include <cwchar>
#include <stdexcept>

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring TimeLine(const FILETIME& stamp) {
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!FileTimeToSystemTime(&stamp, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        throw std::runtime_error("not a calendar time");
    }
    wchar_t line[40];
    std::swprintf(line, 40, L"修改时间: %04u/%02u/%02u %02u:%02u:%02u\r\n", local.wYear,
                  local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
    return line;
}

bool SystemZoneIs(const wchar_t* ianaName, const wchar_t* windowsKeyName) {
    if (RunningUnderWine()) {
        const wchar_t* zone = _wgetenv(L"TZ");
        return zone != nullptr && std::wcscmp(zone, ianaName) == 0;
    }
    DYNAMIC_TIME_ZONE_INFORMATION zone;
    return GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID &&
           std::wcscmp(zone.TimeZoneKeyName, windowsKeyName) == 0;
}

bool EnglishUserInterface() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH;
}
