#include "tests/support/reference_digests.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <stdexcept>

namespace {

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

std::string ReferenceDigest(AlgorithmKind kind, const Bytes& bytes) {
    if (kind == Crc32) {
        char text[9];
        std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(ZlibCrc32(bytes)));
        return text;
    }
    BCRYPT_ALG_HANDLE provider = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&provider, CNG_NAMES[kind], nullptr, 0)) ||
        !BCRYPT_SUCCESS(BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) {
        throw std::runtime_error("cannot start a reference hash");
    }
    BCryptHashData(hash, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(bytes.size()), 0);
    unsigned char digest[32];
    const ULONG length = kind == Md5 ? 16 : kind == Sha1 ? 20 : 32;
    BCryptFinishHash(hash, digest, length, 0);
    BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(provider, 0);
    return UpperHex(digest, length);
}

}  // namespace

std::wstring DigestLine(AlgorithmKind kind, const Bytes& bytes) {
    const std::string digest = ReferenceDigest(kind, bytes);
    return LABELS[kind] + (L": " + std::wstring(digest.begin(), digest.end())) + L"\r\n";
}

std::wstring AllDigestLines(const Bytes& bytes) {
    std::wstring lines;
    for (int kind = Md5; kind <= Crc32; ++kind) {
        lines += DigestLine(static_cast<AlgorithmKind>(kind), bytes);
    }
    return lines;
}
