#pragma once

#include <cstdint>
#include <string>

// Shared by the benchmarks: a monotonic clock and the large file both of them read.
double Seconds();

// Writes `size` bytes of pseudo-random data (the same for every run) to the path; exits the
// benchmark when the file cannot be written.
void WriteRandomFile(const std::wstring& path, std::uint64_t size);
