#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/app_state.h"
#include "app/application.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/file_setup.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"

// A file past 4 GiB, dropped on the program's own main window with all four algorithms checked.

namespace {

constexpr std::uint64_t FIVE_GIB = 5ull << 30;

// The digests of 5 GiB of zeros, worked out apart from this program (md5sum, sha1sum, sha256sum
// and zlib's crc32), so that the test spends its time on the program's passes alone.
const std::wstring ZEROS_DIGEST_LINES =
    L"MD5     : EC4BCC8776EA04479B786E063A9ACE45\r\n"
    L"SHA-1   : 13EDCCC7871C2016FBE8A2A0D808E19A90FBFC63\r\n"
    L"SHA-256 : 7F06C62352AEBD8125B2A1841E2B9E1FFCBED602F381C3DCB3200200E383D1D5\r\n"
    L"CRC32   : 193838C3\r\n";

WNDPROC programWindowProc = nullptr;
std::vector<std::int32_t> percentsPainted;

// Sees the strip's paints on their way to the program's window procedure.
LRESULT CALLBACK RecordStripPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM && wParam == IDC_PROGRESS) {
        percentsPainted.push_back(progressPercent);
    }
    return CallWindowProcW(programWindowProc, window, message, wParam, lParam);
}

// Each pass climbs from the 0 the job sets before it to 100.
int PassesThatReached100() {
    int passes = 0;
    bool climbing = false;
    for (std::int32_t percent : percentsPainted) {
        if (percent == 0) {
            climbing = true;
        } else if (percent == 100 && climbing) {
            ++passes;
            climbing = false;
        }
    }
    return passes;
}

TEST(LargeFileTest, FiveGibibytesOfZerosThroughTheMainWindow) {
    TempDir folder;
    const std::wstring path = folder.File(L"five gib.bin");
    MakeSizedFile(path, FIVE_GIB);
    SetWriteTimeUtc(path, 2024, 3, 7, 9, 5, 5);

    appInstance = GetModuleHandleW(nullptr);
    ASSERT_NE(CreateMainWindow(SW_SHOWNOACTIVATE), nullptr);
    programWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordStripPaints)));
    SendDrop({path});

    EXPECT_EQ(ReadReportText(),
              StampedDetails(path, L"5.00 GB (5368709120 字节)") + ZEROS_DIGEST_LINES + DONE);
    EXPECT_EQ(PassesThatReached100(), 4);
    EXPECT_EQ(percentsPainted.back(), 100);
    // The climb follows what was read: 100 only with each pass's last chunk, and at the job's end.
    EXPECT_EQ(std::count(percentsPainted.begin(), percentsPainted.end(), 100), 5);
}

}  // namespace
