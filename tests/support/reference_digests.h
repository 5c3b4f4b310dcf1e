#pragma once

#include <string>

#include "app/control_ids.h"
#include "tests/support/temp_files.h"

// Digests computed apart from the program's passes and formatting: CNG hashes over bytes in
// memory, zlib's CRC-32, each printed by the test itself.
std::string ReferenceDigest(AlgorithmKind kind, const Bytes& bytes);

// The report line of the digest, "MD5     : " and so on, ending with CR LF.
std::wstring DigestLine(AlgorithmKind kind, const std::string& digest);

// The lines of all four algorithms over the bytes, in report order.
std::wstring AllDigestLines(const Bytes& bytes);
