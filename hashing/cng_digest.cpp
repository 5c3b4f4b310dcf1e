#include "hashing/cng_digest.h"

#include <windows.h>
#include <bcrypt.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "hashing/file_pass.h"
#include "hashing/hex.h"
#include "hashing/system_libraries.h"

const wchar_t* cngAlgorithmIdentifiers[CNG_ALGORITHM_COUNT] = {
    BCRYPT_MD5_ALGORITHM, BCRYPT_SHA1_ALGORITHM, BCRYPT_SHA256_ALGORITHM};

namespace {

struct ProviderCloser {
    void operator()(BCRYPT_ALG_HANDLE provider) const {
        SystemFunctions().BCryptCloseAlgorithmProvider(provider, 0);
    }
};
using Provider = std::unique_ptr<std::remove_pointer_t<BCRYPT_ALG_HANDLE>, ProviderCloser>;

struct HashDestroyer {
    void operator()(BCRYPT_HASH_HANDLE hash) const { SystemFunctions().BCryptDestroyHash(hash); }
};
using Hash = std::unique_ptr<std::remove_pointer_t<BCRYPT_HASH_HANDLE>, HashDestroyer>;

// A failed query leaves the value at 0, which later turns into the empty text.
ULONG ProviderLength(BCRYPT_ALG_HANDLE provider, const wchar_t* property) {
    ULONG value = 0;
    ULONG written = 0;
    SystemFunctions().BCryptGetProperty(provider, property, reinterpret_cast<PUCHAR>(&value),
                                        sizeof value, &written, 0);
    return value;
}

// Feeds the file to the hash and finishes it; empty unless every chunk and the finish succeeded,
// so that a digest of part of the file never passes for the file's.
std::string HashFile(BCRYPT_HASH_HANDLE hash, ULONG digestLength, const std::wstring& path,
                     std::uint64_t totalSize) {
    bool everyChunkHashed = true;
    const PassOutcome outcome =
        FilePass(path, totalSize, [&](const unsigned char* bytes, std::size_t count) {
            const NTSTATUS status = SystemFunctions().BCryptHashData(
                hash, const_cast<PUCHAR>(bytes), static_cast<ULONG>(count), 0);
            everyChunkHashed = everyChunkHashed && BCRYPT_SUCCESS(status);
        });
    if (outcome != PassOutcome::Completed || !everyChunkHashed || digestLength == 0) {
        return std::string();
    }
    std::vector<unsigned char> digest(digestLength);
    if (!BCRYPT_SUCCESS(SystemFunctions().BCryptFinishHash(hash, digest.data(), digestLength, 0))) {
        return std::string();
    }
    return HexUpper(digest.data(), digest.size());
}

}  // namespace

CngDigestResult CngDigest(const std::wstring& path, const std::wstring& algorithmIdentifier,
                          std::uint64_t totalSize) {
    CngDigestResult result;
    const SystemLibraryFunctions& cng = SystemFunctions();
    // Without bcrypt.dll from the system folder no provider opens, as on a system without one.
    BCRYPT_ALG_HANDLE openedProvider = nullptr;
    if (cng.BCryptOpenAlgorithmProvider == nullptr ||
        !BCRYPT_SUCCESS(cng.BCryptOpenAlgorithmProvider(&openedProvider,
                                                        algorithmIdentifier.c_str(), nullptr, 0))) {
        return result;
    }
    // Declared before the hash, so that the hash is destroyed before the provider is closed.
    Provider provider(openedProvider);
    result.providerOpened = true;

    const ULONG objectLength = ProviderLength(provider.get(), BCRYPT_OBJECT_LENGTH);
    const ULONG digestLength = ProviderLength(provider.get(), BCRYPT_HASH_LENGTH);
    std::vector<unsigned char> hashObject(objectLength);

    BCRYPT_HASH_HANDLE createdHash = nullptr;
    if (!BCRYPT_SUCCESS(cng.BCryptCreateHash(provider.get(), &createdHash,
                                             objectLength == 0 ? nullptr : hashObject.data(),
                                             objectLength, nullptr, 0, 0))) {
        return result;
    }
    Hash hash(createdHash);
    result.digestText = HashFile(hash.get(), digestLength, path, totalSize);
    return result;
}
