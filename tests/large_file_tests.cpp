#include <gtest/gtest.h>

#include <windows.h>

#include <future>
#include <vector>

#include "app/app_state.h"
#include "app/application.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/file_setup.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"

// A file past 4 GiB, dropped on the program's own main window with all four algorithms checked.

namespace {

constexpr std::uint64_t FIVE_GIB = 5ull << 30;

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

    // The reference runs on a thread of its own, beside the program's four passes.
    auto reference = std::async(std::launch::async, [] {
        std::wstring lines;
        for (int kind = Md5; kind <= Crc32; ++kind) {
            const auto algorithm = static_cast<AlgorithmKind>(kind);
            lines += DigestLine(algorithm, ReferenceDigestOfZeros(algorithm, FIVE_GIB));
        }
        return lines;
    });

    appInstance = GetModuleHandleW(nullptr);
    ASSERT_NE(CreateMainWindow(SW_SHOWNOACTIVATE), nullptr);
    programWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordStripPaints)));
    SendDrop({path});

    EXPECT_EQ(ReadReportText(), L"文件: " + path +
                                    L"\r\n大小: 5.00 GB (5368709120 字节)\r\n"
                                    L"修改时间: 2024/03/07 09:05:05\r\n\r\n" +
                                    reference.get() + DONE);
    EXPECT_EQ(PassesThatReached100(), 4);
    EXPECT_EQ(percentsPainted.back(), 100);
}

}  // namespace
