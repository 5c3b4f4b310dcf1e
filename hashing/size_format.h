#pragma once

#include <cstdint>
#include <string>

// The size line's text: the byte count alone below 1 KiB, otherwise the size in KB, MB (one
// decimal) or GB (two decimals) followed by the exact byte count, for example
// "1.5 MB (1572864 字节)". The figure is the size as a double divided by the unit, rounded to the
// nearest with an exact half going to the even digit, computed without floating point so that it
// is the same whichever C runtime runs the program.
std::wstring FileSizeText(std::uint64_t size);
