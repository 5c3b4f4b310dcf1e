#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The state of one MD5 (RFC 1321) computation over one file.
struct Md5Context {
    std::uint32_t state[4];
    std::uint64_t totalBytes;  // modulo 2^64, as the length field of the padding wants it
    unsigned char block[64];
    std::uint32_t blockFill;  // 0 to 63 between calls
};

void Md5Init(Md5Context& context);
void Md5Update(Md5Context& context, const unsigned char* bytes, std::size_t count);
// 32 uppercase hexadecimal digits; the context is spent afterwards.
std::string Md5Final(Md5Context& context);

// The file's MD5 through this implementation; empty when the file could not be read to its end.
std::string BuiltinMd5Digest(const std::wstring& path, std::uint64_t totalSize);
