#include <gtest/gtest.h>

#include <windows.h>
#include <bcrypt.h>

#include "app/app_state.h"
#include "hashing/cng_digest.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// A file cut by another program while it is hashed. Each pass reads the file to the end it finds,
// so every line is the digest of the bytes its own pass read; what must never appear is a line for
// bytes the file no longer holds when its pass ends.

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

// Passes 1 to 4 are MD5, SHA-1, SHA-256 and CRC-32, and each has read its first 2 MiB chunk when
// the cut comes. SHA-1's cut to 3 MiB lies above that, so it reads on to the new end; SHA-256's
// cut to 1 MiB lies below, so the bytes it read are no longer the file's and it gets no line;
// CRC-32 then reads the 1 MiB that is left.
TEST(ChangingFileTest, CutAboveWhatThePassReadEndsItThereCutBelowGivesItNoLine) {
    reportStarted = false;
    stopRequested = false;
    TempDir folder;
    TestMainWindow window;
    const std::wstring path = folder.File(L"changing.bin");
    const Bytes original = RandomBytes(7 * MIB, 77);
    MakeStampedFile(path, original);
    window.RunDuringPass(2, [&] { ASSERT_TRUE(CutTo(path, 3 * MIB)); });
    window.RunDuringPass(3, [&] { ASSERT_TRUE(CutTo(path, MIB)); });
    SendDrop({path});
    const Bytes threeMib(original.begin(), original.begin() + 3 * MIB);
    const Bytes oneMib(original.begin(), original.begin() + MIB);
    EXPECT_EQ(ReadReportText(), StampedDetails(path, L"7.0 MB (7340032 字节)") +
                                    DigestLine(Md5, original) + DigestLine(Sha1, threeMib) +
                                    DigestLine(Crc32, oneMib) + DONE);
    EXPECT_FALSE(jobRunning);

    // Each pass in turn cut below what it read, MD5 by the built-in implementation last: the passes
    // before it report the whole file, it reports nothing, and the passes after it the rest.
    std::wstring report = ReadReportText();
    for (int cut = Md5; cut <= Crc32 + 1; ++cut) {
        const int pass = cut > Crc32 ? Md5 : cut;
        cngAlgorithmIdentifiers[Md5] =
            cut > Crc32 ? L"ORDWEN-NO-SUCH-PROVIDER" : BCRYPT_MD5_ALGORITHM;
        const std::wstring file = folder.File(L"cut " + std::to_wstring(cut) + L".bin");
        const Bytes bytes = RandomBytes(3 * MIB, cut);
        MakeStampedFile(file, bytes);
        window.RunDuringPass(pass + 1, [&file] { ASSERT_TRUE(CutTo(file, MIB)); });
        SendDrop({file});
        report += SEPARATOR + StampedDetails(file, L"3.0 MB (3145728 字节)");
        for (int kind = Md5; kind <= Crc32; ++kind) {
            if (kind != pass) {
                report +=
                    DigestLine(static_cast<AlgorithmKind>(kind),
                               kind < pass ? bytes : Bytes(bytes.begin(), bytes.begin() + MIB));
            }
        }
        report += DONE;
        EXPECT_EQ(ReadReportText(), report) << "pass " << cut + 1;
    }
}

}  // namespace
