#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// CRC-32/ISO-HDLC, the CRC of zlib, PKZIP and Ethernet: reflected, initial value and final
// complement all ones.
constexpr std::uint32_t CRC32_POLYNOMIAL = 0xEDB88320;
constexpr std::uint32_t CRC32_INITIAL = 0xFFFFFFFF;

// Built once per process by the first CRC-32 computation; read-only afterwards.
extern std::uint32_t Crc32Table[256];
void BuildCrc32Table();

// Advances a running (not yet complemented) value over the bytes.
std::uint32_t Crc32Update(std::uint32_t running, const unsigned char* bytes, std::size_t count);

// The file's CRC-32 as 8 uppercase digits; empty when the file could not be read to its end.
std::string Crc32Digest(const std::wstring& path, std::uint64_t totalSize);
