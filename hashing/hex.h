#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Two uppercase digits per byte, in the order given.
std::string HexUpper(const unsigned char* bytes, std::size_t count);

// Eight uppercase digits, leading zeros kept.
std::string Hex32Upper(std::uint32_t value);
