#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The file version of the file's version resource as "major.minor.build.revision"; empty when the
// file has no usable one.
std::wstring FileVersionText(const std::wstring& path);

// The UTC time stamp as local time "YYYY/MM/DD hh:mm:ss", converted with the daylight-saving
// rules in force on the stamp's own date; empty when the stamp lies beyond the calendar.
std::wstring LocalTimeText(const FILETIME& stamp);

// Appends the version, size and modified-time lines of the file, each when it is known, and
// returns the file's size (0 when its attributes cannot be read).
std::uint64_t AppendFileDetails(const std::wstring& path);
