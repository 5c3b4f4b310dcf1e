#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "commands/file_batch.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/system_settings.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// Entries that are not plain readable files, in one drop with a plain file after them; all four
// algorithms checked.

namespace {

class OddEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        MakeStampedFile(plain, plainBytes);
    }

    std::wstring PlainBlock() const {
        return StampedDetails(plain, L"5 字节") + AllDigestLines(plainBytes) + DONE;
    }

    TempDir folder;
    TestMainWindow window;
    const Bytes plainBytes = BytesOf("plain");
    const std::wstring plain = folder.File(L"plain.txt");
};

// A device read as a file hangs the job (AUX) or passes for an empty file (NUL), so it gets the
// block of a path that cannot be read; in a folder its name is a file's, here none. A file held
// open without sharing keeps its details.
TEST_F(OddEntryTest, DevicesAndAHeldFileEachGetTheirBlock) {
    const std::wstring locked = folder.File(L"locked.bin");
    MakeStampedFile(locked, BytesOf("locked!!!!"));
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    SendDrop({locked, folder.File(L"NUL"), folder.File(L"CON"), folder.File(L"AUX"), plain});
    CloseHandle(lock);
    std::wstring expected = StampedDetails(locked, L"10 字节") + DONE + SEPARATOR + PlainBlock();
    const std::vector<std::wstring> devices = {L"\\\\.\\NUL", L"\\\\.\\AUX"};
    for (const std::wstring& device : devices) {
        expected += SEPARATOR + L"文件: " + device + L"\r\n\r\n" + DONE;
    }
    HashChosenPaths(devices);
    EXPECT_EQ(ReadReportText(), expected);
    EXPECT_FALSE(jobRunning);
}

// Byte-range locks hold against other programs' reads on Windows only.
TEST_F(OddEntryTest, FileWithALockedRangeGetsNoDigestLine) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine does not enforce byte-range locks on reads";
    }
    const std::wstring ranged = folder.File(L"ranged.bin");
    MakeStampedFile(ranged, RandomBytes(5 << 20, 3));
    HANDLE holder =
        CreateFileW(ranged.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    OVERLAPPED region = {};
    region.Offset = 3 << 20;
    ASSERT_TRUE(LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1 << 20,
                           0, &region));
    SendDrop({ranged, plain});
    EXPECT_EQ(ReadReportText(),
              StampedDetails(ranged, L"5.0 MB (5242880 字节)") + DONE + SEPARATOR + PlainBlock());
    UnlockFileEx(holder, 0, 1 << 20, 0, &region);
    CloseHandle(holder);
}

}  // namespace
