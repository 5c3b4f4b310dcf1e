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

// Each advances a running (not yet complemented) value over the bytes; all need the table built.
// Crc32Update takes the fastest path the processor has, chosen once.
std::uint32_t Crc32Update(std::uint32_t running, const unsigned char* bytes, std::size_t count);
std::uint32_t Crc32UpdateTable(std::uint32_t running, const unsigned char* bytes,
                               std::size_t count);
std::uint32_t Crc32UpdatePclmul(std::uint32_t running, const unsigned char* bytes,
                                std::size_t count);
std::uint32_t Crc32UpdateVpclmul(std::uint32_t running, const unsigned char* bytes,
                                 std::size_t count);

enum class Crc32Path { Table, Pclmul, Vpclmul };
bool Crc32PathSupported(Crc32Path path);
Crc32Path FastestCrc32Path();
std::uint32_t Crc32UpdateWith(Crc32Path path, std::uint32_t running, const unsigned char* bytes,
                              std::size_t count);

// The file's CRC-32 as 8 uppercase digits; empty when the file could not be read to its end.
std::string Crc32Digest(const std::wstring& path, std::uint64_t totalSize);
