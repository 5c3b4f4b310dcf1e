#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include "app/app_state.h"
#include "hashing/report_pane.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/drop_files.h"
#include "tests/support/exported_report.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// Two thousand small files in one drop.

namespace {

constexpr int FILE_COUNT = 2000;

std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage;
}

// Only CRC-32 is checked, which keeps the run short (the batch benchmark measures all four). Near
// the end a file of several chunks is stopped after its first: nothing of it nor of the files
// after it is reported. A first, smaller batch and a Clear come before the measured one, so that
// what is made once per process is already made. The report pane is hidden: Wine's repaints of
// its growing text took four fifths of the run, and what is proved here is the text, not its look.
TEST(LargeBatchTest, EveryBlockInOrderCopiedSavedAndStoppedWithinOneChunk) {
    reportStarted = false;
    stopRequested = false;
    TempDir folder;
    TestMainWindow window;
    window.CheckOnly(Crc32);
    ShowWindow(reportPane, SW_HIDE);
    std::vector<std::wstring> files;
    std::wstring expected;
    const int stopped = FILE_COUNT - 10;
    for (int number = 1; number <= FILE_COUNT; ++number) {
        const Bytes bytes = BytesOf("small file number " + std::to_string(number));
        files.push_back(
            MakeStampedFile(folder.File(L"f" + std::to_wstring(number) + L".txt"), bytes));
        if (number < stopped) {
            expected += number == 1 ? Crc32Block(files.back(), bytes)
                                    : LaterCrc32Block(files.back(), bytes);
        }
    }
    MakeStampedFile(files[stopped - 1], RandomBytes(5 << 20, 9));
    expected += SEPARATOR + StampedDetails(files[stopped - 1], L"5.0 MB (5242880 字节)") + STOPPED;

    SendDrop(std::vector<std::wstring>(files.begin(), files.begin() + 20));
    SendMessageW(mainWindow, WM_COMMAND, IDC_CLEAR, 0);
    window.StopDuringPass(stopped);
    const std::size_t before = PrivateBytes();
    SendDrop(files);
    const std::size_t after = PrivateBytes();
    const std::wstring report = ReadReportText();
    ASSERT_EQ(report, expected);
    EXPECT_LT(after - before, 3 * report.size() * sizeof(wchar_t) + (4u << 20));

    // The stopped pass painted its first chunk's 40 % and no other before the job's closing 100.
    const std::vector<StripPaint>& paints = window.StripPaints();
    ASSERT_GE(paints.size(), 3u);
    EXPECT_EQ(paints[paints.size() - 3].percent, 0);
    EXPECT_EQ(paints[paints.size() - 2].percent, 40);
    EXPECT_EQ(paints.back().percent, 100);

    SendMessageW(mainWindow, WM_COMMAND, IDC_COPY, 0);
    EXPECT_EQ(ClipboardUnicodeBlock(), report + L'\0');
    const std::wstring target = folder.File(L"batch report.txt");
    DialogDriver driver({{nullptr, target, IDOK}});
    SendMessageW(mainWindow, WM_COMMAND, IDC_SAVE, 0);
    ASSERT_TRUE(driver.AllStepsTaken());
    EXPECT_EQ(WholeFileBytes(target), SavedFormOf(report));
}

}  // namespace
