#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// The report texts of the tests that run batches with only CRC-32 checked, on small files whose
// modified time is 2024/03/07 09:05:05 UTC.
extern const std::wstring SEPARATOR;
extern const std::wstring DONE;
extern const std::wstring STOPPED;

// The tests' program with file version 10.0.19041.1, grown with zeros to 200,000 bytes, so that
// its size line reads "195.3 KB (200000 字节)".
Bytes GrownVersionProbe();

// A small file with that time stamp.
std::wstring MakeStampedFile(const std::wstring& path, const Bytes& bytes);

// Its time line, in the system's zone.
std::wstring StampLine();

// The path line, the size line with the size given, that time line and the empty line after them.
std::wstring StampedDetails(const std::wstring& path, const std::wstring& size);

// The block of such a file with its CRC-32 line, as the first block or after the separator.
std::wstring Crc32Block(const std::wstring& path, const Bytes& bytes);
std::wstring LaterCrc32Block(const std::wstring& path, const Bytes& bytes);

// The block of a stopped job, which has no digest line.
std::wstring StoppedBlock(const std::wstring& path, const Bytes& bytes);

// A fresh window with only CRC-32 checked, so that the n-th pass is the n-th file's, and a folder.
class Crc32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        window.CheckOnly(Crc32);
    }

    std::wstring File(const std::wstring& name, const std::string& content) {
        return MakeStampedFile(folder.File(name), BytesOf(content));
    }

    TempDir folder;
    TestMainWindow window;
};
