#pragma once

#include <cstdint>
#include <string>

#include "app/control_ids.h"

struct CngDigestResult {
    std::string digestText;  // uppercase hexadecimal; empty when there is no sound digest
    bool providerOpened = false;
};

// The CNG provider names of the algorithms that CNG computes (MD5, SHA-1, SHA-256), indexed by
// AlgorithmKind. Not const, so that a test can stand in for a system without an MD5 provider.
extern const wchar_t* cngAlgorithmIdentifiers[Crc32];

// Hashes the whole file with the named CNG provider. The text is empty when the file cannot be
// read to its end, the pass is stopped or any step of the hash fails.
CngDigestResult CngDigest(const std::wstring& path, const std::wstring& algorithmIdentifier,
                          std::uint64_t totalSize);
