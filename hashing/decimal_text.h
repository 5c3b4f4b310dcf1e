#pragma once

#include <cstdint>
#include <string>

// The value in decimal, with leading zeros up to minimumDigits; written digit by digit so that the
// text never depends on the C runtime's printf.
std::wstring DecimalText(std::uint64_t value, int minimumDigits = 1);
