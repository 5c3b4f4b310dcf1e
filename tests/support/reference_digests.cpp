#include "tests/support/reference_digests.h"

#include <windows.h>
#include <bcrypt.h>

#include <zlib.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr std::size_t ZERO_BLOCK_SIZE = 16 << 20;

const wchar_t* const CNG_NAMES[] = {BCRYPT_MD5_ALGORITHM, BCRYPT_SHA1_ALGORITHM,
                                    BCRYPT_SHA256_ALGORITHM};
const wchar_t* const LABELS[] = {L"MD5     ", L"SHA-1   ", L"SHA-256 ", L"CRC32   "};

std::string UpperHex(const unsigned char* bytes, std::size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

// Feeds the hash `repeat` times the same bytes, then `tail` bytes of them once more.
std::string CngOverRepeats(AlgorithmKind kind, const unsigned char* bytes, std::size_t size,
                           std::uint64_t repeat, std::size_t tail) {
    BCRYPT_ALG_HANDLE provider = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&provider, CNG_NAMES[kind], nullptr, 0)) ||
        !BCRYPT_SUCCESS(BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) {
        throw std::runtime_error("cannot start a reference hash");
    }
    auto* data = const_cast<PUCHAR>(bytes);
    for (std::uint64_t i = 0; i < repeat; ++i) {
        BCryptHashData(hash, data, static_cast<ULONG>(size), 0);
    }
    if (tail != 0) {
        BCryptHashData(hash, data, static_cast<ULONG>(tail), 0);
    }
    unsigned char digest[32];
    const ULONG length = kind == Md5 ? 16 : kind == Sha1 ? 20 : 32;
    BCryptFinishHash(hash, digest, length, 0);
    BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(provider, 0);
    return UpperHex(digest, length);
}

std::string CrcText(uLong crc) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(crc >> 24), static_cast<unsigned char>(crc >> 16),
        static_cast<unsigned char>(crc >> 8), static_cast<unsigned char>(crc)};
    return UpperHex(bytes, 4);
}

}  // namespace

std::string ReferenceDigest(AlgorithmKind kind, const Bytes& bytes) {
    if (kind == Crc32) {
        return CrcText(ZlibCrc32(bytes));
    }
    return CngOverRepeats(kind, bytes.data(), bytes.size(), 1, 0);
}

std::string ReferenceDigestOfZeros(AlgorithmKind kind, std::uint64_t count) {
    const std::vector<unsigned char> zeros(ZERO_BLOCK_SIZE, 0);
    const std::uint64_t repeat = count / ZERO_BLOCK_SIZE;
    const std::size_t tail = static_cast<std::size_t>(count % ZERO_BLOCK_SIZE);
    if (kind != Crc32) {
        return CngOverRepeats(kind, zeros.data(), zeros.size(), repeat, tail);
    }
    uLong crc = crc32(0, nullptr, 0);
    for (std::uint64_t i = 0; i < repeat; ++i) {
        crc = crc32(crc, zeros.data(), static_cast<uInt>(zeros.size()));
    }
    return CrcText(crc32(crc, zeros.data(), static_cast<uInt>(tail)));
}

std::wstring DigestLine(AlgorithmKind kind, const std::string& digest) {
    return LABELS[kind] + (L": " + std::wstring(digest.begin(), digest.end())) + L"\r\n";
}

std::wstring AllDigestLines(const Bytes& bytes) {
    std::wstring lines;
    for (int kind = Md5; kind <= Crc32; ++kind) {
        lines += DigestLine(static_cast<AlgorithmKind>(kind),
                            ReferenceDigest(static_cast<AlgorithmKind>(kind), bytes));
    }
    return lines;
}
