#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Shared by the benchmarks: a monotonic clock, their files, and the way they give up.
double Seconds();

// Prints what failed and ends the benchmark.
[[noreturn]] void Fail(const char* what);

// A folder of that name in the temporary folder, made if missing.
std::wstring BenchFolder(const wchar_t* name);

// Writes the bytes to a new file at the path; ends the benchmark when the file cannot be made.
void WriteFileBytes(const std::wstring& path, const void* bytes, std::size_t count);

// Writes `size` bytes of pseudo-random data (the same for every run) to the path; exits the
// benchmark when the file cannot be written.
void WriteRandomFile(const std::wstring& path, std::uint64_t size);
