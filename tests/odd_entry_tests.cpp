#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "commands/file_batch.h"
#include "commands/file_selection.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// Entries that are not plain readable files, in one batch with a plain file after them, through a
// drop and through what Browse runs on the dialog's selection buffer; all four algorithms checked.

namespace {

const std::wstring STAMP = L"修改时间: 2024/03/07 09:05:05\r\n";

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void StampFolder(const std::wstring& path) {
    HANDLE folder = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    SYSTEMTIME utc = {2024, 3, 4, 7, 9, 5, 5, 0};
    FILETIME stamp;
    SystemTimeToFileTime(&utc, &stamp);
    SetFileTime(folder, nullptr, nullptr, &stamp);
    CloseHandle(folder);
}

class OddEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        MakeStampedFile(locked, lockedBytes);
        MakeStampedFile(empty, Bytes());
        MakeStampedFile(plain, plainBytes);
        CreateDirectoryW(subfolder.c_str(), nullptr);
        StampFolder(subfolder);
        lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    }
    void TearDown() override { CloseHandle(lock); }

    static std::wstring First(const std::wstring& block) { return block; }
    static std::wstring Later(const std::wstring& block) { return SEPARATOR + block; }

    // A file that cannot be opened keeps its details and gets no digest line.
    std::wstring LockedBlock() const {
        return L"文件: " + locked + L"\r\n大小: 10 字节\r\n" + STAMP + L"\r\n" + DONE;
    }
    std::wstring EmptyBlock() const {
        return L"文件: " + empty + L"\r\n大小: 0 字节\r\n" + STAMP + L"\r\n" +
               AllDigestLines(Bytes()) + DONE;
    }
    // A device is reported as a path that cannot be read: neither details nor digests.
    static std::wstring DeviceBlock(const std::wstring& path) {
        return L"文件: " + path + L"\r\n\r\n" + DONE;
    }
    std::wstring PlainBlock() const {
        return L"文件: " + plain + L"\r\n大小: 5 字节\r\n" + STAMP + L"\r\n" +
               AllDigestLines(plainBytes) + DONE;
    }

    TempDir folder;
    TestMainWindow window;
    const Bytes lockedBytes = BytesOf("locked!!!!");
    const Bytes plainBytes = BytesOf("plain");
    const std::wstring locked = folder.File(L"locked.bin");
    const std::wstring empty = folder.File(L"empty.bin");
    const std::wstring subfolder = folder.File(L"sub");
    const std::wstring plain = folder.File(L"plain.txt");
    // Device names mean the device in every folder.
    const std::wstring nul = folder.File(L"NUL");
    const std::wstring con = folder.File(L"CON");
    const std::wstring aux = folder.File(L"AUX");
    HANDLE lock = INVALID_HANDLE_VALUE;
};

TEST_F(OddEntryTest, DroppedTogetherEachGetsItsBlockAndTheFolderIsSkipped) {
    SendDrop({locked, empty, subfolder, nul, con, aux, plain});
    EXPECT_EQ(ReadReportText(), First(LockedBlock()) + Later(EmptyBlock()) +
                                    Later(DeviceBlock(nul)) + Later(DeviceBlock(con)) +
                                    Later(DeviceBlock(aux)) + Later(PlainBlock()));
    EXPECT_FALSE(jobRunning);
}

// The dialog names no folder and no device, but a typed name reaches the jobs all the same; a
// folder is a path that cannot be opened for reading.
TEST_F(OddEntryTest, ChosenTogetherEachGetsItsBlock) {
    const std::wstring selection = folder.Path() + L'\0' + L"locked.bin" + L'\0' + L"empty.bin" +
                                   L'\0' + L"sub" + L'\0' + L"NUL" + L'\0' + L"CON" + L'\0' +
                                   L"AUX" + L'\0' + L"plain.txt" + L'\0' + L'\0';
    RunHoldingDrops([&selection] { return HashChosenPaths(SelectedPaths(selection)); });
    const std::wstring folderBlock =
        L"文件: " + subfolder + L"\r\n大小: 0 字节\r\n" + STAMP + L"\r\n" + DONE;
    EXPECT_EQ(ReadReportText(), First(LockedBlock()) + Later(EmptyBlock()) + Later(folderBlock) +
                                    Later(DeviceBlock(nul)) + Later(DeviceBlock(con)) +
                                    Later(DeviceBlock(aux)) + Later(PlainBlock()));
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
    EXPECT_EQ(ReadReportText(), L"文件: " + ranged + L"\r\n大小: 5.0 MB (5242880 字节)\r\n" +
                                    STAMP + L"\r\n" + DONE + Later(PlainBlock()));
    UnlockFileEx(holder, 0, 1 << 20, 0, &region);
    CloseHandle(holder);
}

}  // namespace
