#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// A file of the given size that holds no data: marked sparse where the file system allows it, so
// that sizes of gigabytes cost neither time nor disk.
void MakeSizedFile(const std::wstring& path, std::uint64_t size);

// The UTC calendar time as a file time stamp.
FILETIME UtcStamp(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
                  WORD milliseconds = 0);

// Sets the file's last-write time to the UTC time given.
void SetWriteTimeUtc(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour,
                     WORD minute, WORD second, WORD milliseconds = 0);
