#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Independent implementations that the cores must agree with.
std::uint32_t ReferenceCrc32(const unsigned char* bytes, std::size_t count);
std::string ReferenceMd5(const unsigned char* bytes, std::size_t count);
// glibc prints a double's exact binary value correctly rounded, an exact half to even.
std::wstring ReferenceSizeText(std::uint64_t size);

// The running CRC of every available path and the built-in MD5, each fed in the given pieces.
std::vector<std::uint32_t> CrcOfEveryPath(const unsigned char* bytes,
                                          const std::vector<std::size_t>& pieces);
std::string Md5InPieces(const unsigned char* bytes, const std::vector<std::size_t>& pieces);
