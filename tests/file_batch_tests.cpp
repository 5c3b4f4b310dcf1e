#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"
#include "app/main_window.h"
#include "commands/file_batch.h"
#include "hashing/file_hash_job.h"
#include "hashing/file_pass.h"
#include "hashing/report_pane.h"
#include "tests/support/drop_files.h"
#include "tests/support/report_blocks.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_window.h"

// Only CRC-32 is checked, so that the n-th pass is the n-th file's.

namespace {

class BatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reportStarted = false;
        stopRequested = false;
        window.CheckOnly(Crc32);
        for (int number = 1; number <= 6; ++number) {
            contents.push_back(BytesOf("file number " + std::to_string(number)));
            files.push_back(
                MakeStampedFile(folder.File(std::to_wstring(number) + L".txt"), contents.back()));
        }
    }

    // File n, counted from 1, as its block reads when it is not the first.
    std::wstring Later(int number) { return LaterCrc32Block(File(number), Content(number)); }
    std::wstring First(int number) { return Crc32Block(File(number), Content(number)); }
    std::wstring Stopped(int number, bool first) {
        return (first ? L"" : SEPARATOR) + StoppedBlock(File(number), Content(number));
    }
    const std::wstring& File(int number) const { return files[number - 1]; }
    const Bytes& Content(int number) const { return contents[number - 1]; }
    std::vector<std::wstring> Files(int from, int to) const {
        return std::vector<std::wstring>(files.begin() + from - 1, files.begin() + to);
    }

    void PostDropDuringPass(int passNumber, const std::vector<std::wstring>& paths) {
        window.PostDuringPass(passNumber, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)));
    }

    void ExpectButtonsAfterAJob() {
        EXPECT_TRUE(IsEnabled(browseButton));
        EXPECT_FALSE(IsEnabled(stopButton));
        EXPECT_TRUE(IsEnabled(clearButton));
        EXPECT_TRUE(IsEnabled(copyButton));
        EXPECT_TRUE(IsEnabled(saveButton));
    }

    // The strip's paints while the stopped job still ran after the stop.
    void ExpectStopButtonDisabledAtOnce() {
        bool stoppedWhileRunning = false;
        for (const StripPaint& paint : window.StripPaints()) {
            if (paint.stopRequested && paint.jobRunning) {
                stoppedWhileRunning = true;
                EXPECT_FALSE(paint.stopEnabled);
            }
        }
        EXPECT_TRUE(stoppedWhileRunning);
    }

    TempDir folder;
    TestMainWindow window;
    std::vector<Bytes> contents;
    std::vector<std::wstring> files;
};

TEST_F(BatchTest, StopDuringTheSecondOfFiveDroppedFiles) {
    window.StopDuringPass(2);
    SendDrop(Files(1, 5));
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false));
    EXPECT_TRUE(stopRequested);
    ExpectStopButtonDisabledAtOnce();
    ExpectButtonsAfterAJob();

    SendDrop(Files(3, 3));
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false) + Later(3));
    EXPECT_FALSE(stopRequested);
}

// What Browse runs once the dialog has returned five names.
TEST_F(BatchTest, StopDuringTheSecondOfFiveChosenFiles) {
    window.StopDuringPass(2);
    RunHoldingDrops([this] { return HashChosenPaths(Files(1, 5)); });
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false));
    ExpectStopButtonDisabledAtOnce();
    ExpectButtonsAfterAJob();

    RunHoldingDrops([this] { return HashChosenPaths(Files(3, 4)); });
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false) + Later(3) + Later(4));
}

TEST_F(BatchTest, FilesDroppedDuringAJobFollowTheBatchInDropOrder) {
    const HDROP drop = MakeDrop(Files(3, 4));
    window.PostDuringPass(1, WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
    PostDropDuringPass(2, Files(5, 5));
    SendDrop(Files(1, 2));
    EXPECT_EQ(ReadReportText(), First(1) + Later(2) + Later(3) + Later(4) + Later(5));
    EXPECT_TRUE(IsReleased(drop));
    // One job at a time: never a job started while another ran.
    for (const StripPaint& paint : window.StripPaints()) {
        EXPECT_TRUE(paint.jobRunning);
    }
}

// A drop during the held files' own jobs waits behind them in turn.
TEST_F(BatchTest, FilesDroppedDuringHeldFilesWaitTheirTurn) {
    PostDropDuringPass(1, Files(2, 3));
    PostDropDuringPass(3, Files(4, 4));
    SendDrop(Files(1, 1));
    EXPECT_EQ(ReadReportText(), First(1) + Later(2) + Later(3) + Later(4));
}

TEST_F(BatchTest, StopDiscardsTheFilesDroppedMeanwhile) {
    PostDropDuringPass(1, Files(4, 5));
    window.StopDuringPass(2);
    RunHoldingDrops([this] { return HashChosenPaths(Files(1, 3)); });
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false));

    SendDrop(Files(6, 6));
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false) + Later(6));
}

TEST_F(BatchTest, StopDuringAHeldFileDiscardsTheRest) {
    PostDropDuringPass(1, Files(2, 4));
    window.StopDuringPass(3);
    SendDrop(Files(1, 1));
    EXPECT_EQ(ReadReportText(), First(1) + Later(2) + Stopped(3, false));
}

// The window's closing posts the quit that the pass's pump takes: the batch and its held drops
// end after the running file, and the message loop ends with exit code 0 at once.
TEST_F(BatchTest, ClosingDuringABatchStartsNoFurtherFile) {
    PostDropDuringPass(1, Files(5, 6));
    window.PostDuringPass(2, WM_QUIT, 0);
    SendDrop(Files(1, 4));
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2, false));
    EXPECT_TRUE(QuitPending());
    EXPECT_EQ(RunMessageLoop(), 0);
}

TEST_F(BatchTest, ClearAfterAJobBringsBackTheStartUpLook) {
    SendDrop(Files(1, 2));
    SendMessageW(mainWindow, WM_COMMAND, IDC_CLEAR, 0);
    EXPECT_EQ(ReadReportText(), REPORT_HINT_TEXT);
    EXPECT_FALSE(reportStarted);
    EXPECT_EQ(progressPercent, 0);
    EXPECT_EQ(window.StripPaints().back().percent, 0);
    EXPECT_TRUE(IsEnabled(browseButton));
    EXPECT_FALSE(IsEnabled(clearButton));
    EXPECT_FALSE(IsEnabled(copyButton));
    EXPECT_FALSE(IsEnabled(saveButton));
    EXPECT_FALSE(IsEnabled(stopButton));

    SendDrop(Files(3, 3));
    EXPECT_EQ(ReadReportText(), First(3));
}

// The running job appends its remaining lines after the hint; the next file empties the pane.
TEST_F(BatchTest, ClearDuringAJob) {
    window.PostDuringPass(2, WM_COMMAND, IDC_CLEAR);
    SendDrop(Files(1, 2));
    const std::wstring crcLine = Crc32Block(File(2), Content(2));
    EXPECT_EQ(ReadReportText(), REPORT_HINT_TEXT + crcLine.substr(crcLine.find(L"CRC32   : ")));
    ExpectButtonsAfterAJob();

    window.PostDuringPass(1, WM_COMMAND, IDC_CLEAR);
    SendDrop(Files(3, 4));
    EXPECT_EQ(ReadReportText(), First(4));
}

}  // namespace
