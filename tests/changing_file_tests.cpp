#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "hashing/file_pass.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// Files changed by another program while they are hashed, with all four algorithms checked, so
// that passes 1 to 4 are MD5, SHA-1, SHA-256 and CRC-32. Each pass reads the file as it finds it,
// to the end it finds: every line is the digest of the bytes its own pass read, so a file changed
// between two passes gives lines of different contents, each true of the moment it was read. What
// must never appear is a line for bytes the file no longer holds when its pass ends.

namespace {

constexpr std::size_t MIB = 1 << 20;

bool CutTo(const std::wstring& path, std::size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool cut = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return cut;
}

bool Append(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool appended =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return appended;
}

Bytes Prefix(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

class ChangingFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        MakeStampedFile(path, original);
    }

    // The block up to the digests, with the details as read before any change.
    std::wstring Details() const {
        return L"文件: " + path +
               L"\r\n大小: 7.0 MB (7340032 字节)\r\n修改时间: 2024/03/07 09:05:05\r\n\r\n";
    }

    std::wstring Line(AlgorithmKind kind, const Bytes& bytes) const {
        return DigestLine(kind, ReferenceDigest(kind, bytes));
    }

    void HashAndExpect(const std::wstring& expected) {
        SendDrop({path});
        EXPECT_EQ(ReadReportText(), expected);
        EXPECT_FALSE(jobRunning);
        for (const StripPaint& paint : window.StripPaints()) {
            EXPECT_LE(paint.percent, 100);
        }
    }

    TempDir folder;
    TestMainWindow window;
    const std::wstring path = folder.File(L"changing.bin");
    const Bytes original = RandomBytes(7 * MIB, 77);
};

TEST_F(ChangingFileTest, CutShortAfterTheDetailsEveryPassReadsWhatIsLeft) {
    window.RunBeforePass(1, [this] { ASSERT_TRUE(CutTo(path, 3 * MIB)); });
    HashAndExpect(Details() + AllDigestLines(Prefix(original, 3 * MIB)) + DONE);
}

TEST_F(ChangingFileTest, GrownAfterTheDetailsEveryPassReadsToTheNewEnd) {
    const Bytes more = RandomBytes(MIB + 5, 78);
    window.RunBeforePass(1, [&] { ASSERT_TRUE(Append(path, more)); });
    Bytes grown = original;
    grown.insert(grown.end(), more.begin(), more.end());
    HashAndExpect(Details() + AllDigestLines(grown) + DONE);
}

TEST_F(ChangingFileTest, DeletedAfterTheDetailsGivesNoDigestLine) {
    window.RunBeforePass(1, [this] { ASSERT_TRUE(DeleteFileW(path.c_str())); });
    HashAndExpect(Details() + DONE);
}

TEST_F(ChangingFileTest, DeletedBetweenTwoPassesKeepsOnlyTheLinesAlreadyRead) {
    window.RunBeforePass(3, [this] { ASSERT_TRUE(DeleteFileW(path.c_str())); });
    HashAndExpect(Details() + Line(Md5, original) + Line(Sha1, original) + DONE);
}

// The pass has read 2 MiB when the file keeps only 1: the bytes it read are no longer the file's,
// so SHA-1 gets no line; the passes after it read the 1 MiB that is left.
TEST_F(ChangingFileTest, CutBelowWhatThePassHasReadGivesThatPassNoLine) {
    window.RunDuringPass(2, [this] { ASSERT_TRUE(CutTo(path, MIB)); });
    const Bytes left = Prefix(original, MIB);
    HashAndExpect(Details() + Line(Md5, original) + Line(Sha256, left) + Line(Crc32, left) + DONE);
}

// Cut to 3 MiB after 2 were read: the pass reads the third and finds the end, which is the file's.
TEST_F(ChangingFileTest, CutAboveWhatThePassHasReadEndsThatPassAtTheNewEnd) {
    window.RunDuringPass(2, [this] { ASSERT_TRUE(CutTo(path, 3 * MIB)); });
    const Bytes left = Prefix(original, 3 * MIB);
    HashAndExpect(Details() + Line(Md5, original) + Line(Sha1, left) + Line(Sha256, left) +
                  Line(Crc32, left) + DONE);
}

TEST_F(ChangingFileTest, GrownDuringAPassIsReadToTheNewEnd) {
    const Bytes more = RandomBytes(3 * MIB, 79);
    window.RunDuringPass(2, [&] { ASSERT_TRUE(Append(path, more)); });
    Bytes grown = original;
    grown.insert(grown.end(), more.begin(), more.end());
    HashAndExpect(Details() + Line(Md5, original) + Line(Sha1, grown) + Line(Sha256, grown) +
                  Line(Crc32, grown) + DONE);
}

// The pass holds the file open without sharing its deletion, so the deletion is refused (or, where
// the system allows it, the open pass still reads every byte); either way no line is false.
TEST_F(ChangingFileTest, DeletedDuringAPass) {
    bool deleted = false;
    window.RunDuringPass(2, [&] { deleted = DeleteFileW(path.c_str()) != FALSE; });
    SendDrop({path});
    const std::wstring twoLines = Details() + Line(Md5, original) + Line(Sha1, original);
    EXPECT_EQ(ReadReportText(),
              deleted ? twoLines + DONE
                      : twoLines + Line(Sha256, original) + Line(Crc32, original) + DONE);
    EXPECT_FALSE(deleted);
}

}  // namespace
