#pragma once

#include <string>

#include "app/control_ids.h"
#include "tests/support/temp_files.h"

// The report line, "MD5     : " and so on, ending with CR LF, of a digest computed apart from the
// program's passes and formatting: a CNG hash over the bytes in memory or zlib's CRC-32, printed
// by the test itself.
std::wstring DigestLine(AlgorithmKind kind, const Bytes& bytes);

// The lines of all four algorithms over the bytes, in report order.
std::wstring AllDigestLines(const Bytes& bytes);
