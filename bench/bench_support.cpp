#include "bench/bench_support.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "hashing/file_pass.h"
#include "tests/support/dialog_driver.h"

double Seconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

std::wstring BenchFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteFileBytes(const std::wstring& path, const void* bytes, std::size_t count) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail("cannot create a bench file");
    }
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr);
    CloseHandle(file);
}

void WriteRandomFile(const std::wstring& path, std::uint64_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail("cannot create the benchmark's file");
    }
    std::vector<unsigned char> block(FILE_CHUNK_SIZE);
    std::mt19937_64 generator(1);
    for (std::uint64_t written = 0; written < size; written += block.size()) {
        for (std::size_t i = 0; i < block.size(); i += 8) {
            const std::uint64_t word = generator();
            std::memcpy(block.data() + i, &word, 8);
        }
        DWORD count = 0;
        if (!WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &count, nullptr) ||
            count != block.size()) {
            Fail("cannot write the benchmark's file");
        }
    }
    CloseHandle(file);
}

// A dialog that the benchmark's steps left open: its figures would mean nothing.
void ReportOverdueDialog(const std::wstring& message) {
    std::fwprintf(stderr, L"%ls\n", message.c_str());
    std::exit(1);
}
