#pragma once

#include <cstdint>
#include <string>

#include "app/control_ids.h"

struct CngDigestResult {
    std::string digestText;  // uppercase hexadecimal; empty when there is no sound digest
    bool providerOpened = false;
};

// MD5, SHA-1 and SHA-256: the algorithm kinds below CRC-32, which CNG does not compute.
constexpr int CNG_ALGORITHM_COUNT = Crc32;

// The CNG provider names, indexed by AlgorithmKind. Not const, so that a test can stand in for a
// system without an MD5 provider.
extern const wchar_t* cngAlgorithmIdentifiers[CNG_ALGORITHM_COUNT];

// Hashes the whole file with the named CNG provider. The text is empty when the file cannot be
// read to its end, the pass is stopped or any step of the hash fails.
CngDigestResult CngDigest(const std::wstring& path, const std::wstring& algorithmIdentifier,
                          std::uint64_t totalSize);
