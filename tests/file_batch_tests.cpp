#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/application.h"
#include "app/main_window.h"
#include "commands/file_batch.h"
#include "commands/file_selection.h"
#include "hashing/file_pass.h"
#include "hashing/report_pane.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/drop_files.h"
#include "tests/support/reference_digests.h"
#include "tests/support/report_blocks.h"

namespace {

using Paths = std::vector<std::wstring>;

TEST(SelectionBuffer, EndsAtTheBufferEvenWithoutTerminators) {
    EXPECT_EQ(SelectedPaths(std::wstring(32768, L'\0')), Paths{});
    EXPECT_EQ(SelectedPaths(std::wstring(L"C:\\d\0x\0y", 8)), (Paths{L"C:\\d\\x", L"C:\\d\\y"}));
}

class DropTest : public Crc32WindowTest {
  protected:
    std::wstring Folder(const std::wstring& name) {
        const std::wstring path = folder.File(name);
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
};

// Folders and missing entries are skipped, the drop's memory is given back all the same, and a stop
// left by an earlier batch ends no batch before a file of its own has been hashed.
TEST_F(DropTest, FoldersAndMissingEntriesAreSkippedAndEndNoBatch) {
    for (const Paths& paths : {Paths{}, Paths{Folder(L"one"), folder.File(L"missing.txt")}}) {
        const HDROP drop = MakeDrop(paths);
        ASSERT_FALSE(IsReleased(drop));
        SendMessageW(mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        EXPECT_TRUE(IsReleased(drop));
        EXPECT_EQ(ReadReportText(), L"hint");
        EXPECT_FALSE(reportStarted);
        EXPECT_TRUE(IsEnabled(browseButton));
        EXPECT_FALSE(IsEnabled(copyButton));
    }
    const std::wstring a = File(L"a.txt", "first");
    stopRequested = true;
    SendDrop({Folder(L"sub"), a});
    EXPECT_EQ(ReadReportText(), Crc32Block(a, BytesOf("first")));
}

// Every call takes the extended form of a full path: at any length the ordinary one drops a
// trailing dot or space and reads nul.txt, com1 or con as a device; it stops at 259 units.
TEST_F(DropTest, FilesTheOrdinaryFormWouldMisnameGetEveryLineFromADropAndFromBrowse) {
    const Bytes probe = GrownVersionProbe();
    const Bytes other = BytesOf("not the device");
    const std::wstring deep = MakeDeepFolder(folder.Path(), 300);
    Paths paths = {deep + L"\\probe.exe.", deep + L"\\NUL "};
    MakeStampedFile(L"\\\\?\\" + paths[0], probe);
    MakeStampedFile(L"\\\\?\\" + paths[1], other);
    const std::wstring stamp = StampLine() + L"\r\n";
    std::wstring blocks = L"文件: " + paths[0] +
                          L"\r\n版本: 10.0.19041.1\r\n大小: 195.3 KB (200000 字节)\r\n" + stamp +
                          DigestLine(Crc32, probe) + DONE + SEPARATOR + L"文件: " + paths[1] +
                          L"\r\n大小: 14 字节\r\n" + stamp + DigestLine(Crc32, other) + DONE;
    for (const wchar_t* name : {L"report", L"report.", L"data ", L"nul.txt", L"com1", L"con"}) {
        paths.push_back(folder.File(name));
        const Bytes content = BytesOf(std::string(paths.size(), '#'));
        MakeStampedFile(L"\\\\?\\" + paths.back(), content);
        blocks += LaterCrc32Block(paths.back(), content);
    }
    SendDrop(paths);
    RunHoldingDrops([&paths] { return HashChosenPaths(paths); });
    EXPECT_EQ(ReadReportText(), blocks + SEPARATOR + blocks);
}

// Files 1 to 6, each hashed in a pass of its own.
class BatchTest : public Crc32WindowTest {
  protected:
    void SetUp() override {
        Crc32WindowTest::SetUp();
        for (int number = 1; number <= 6; ++number) {
            files.push_back(File(std::to_wstring(number) + L".txt", Text(number)));
        }
    }

    static std::string Text(int number) { return "file number " + std::to_string(number); }
    Paths Files(int from, int to) const {
        return Paths(files.begin() + from - 1, files.begin() + to);
    }
    std::wstring First(int number) const {
        return Crc32Block(files[number - 1], BytesOf(Text(number)));
    }
    std::wstring Later(int number) const { return SEPARATOR + First(number); }
    std::wstring Stopped(int number) const {
        return SEPARATOR + StoppedBlock(files[number - 1], BytesOf(Text(number)));
    }

    // Chooses the files in the open dialog.
    void Browse(int from, int to) {
        std::wstring names;
        for (int number = from; number <= to; ++number) {
            names += L"\"" + std::to_wstring(number) + L".txt\" ";
        }
        DialogDriver driver({{nullptr, folder.Path(), IDOK}, {nullptr, names, IDOK}});
        SendMessageW(mainWindow, WM_COMMAND, IDC_BROWSE, 0);
    }

    HDROP PostDropDuringPass(int passNumber, const Paths& paths) {
        const HDROP drop = MakeDrop(paths);
        window.PostDuringPass(passNumber, WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
        return drop;
    }

    Paths files;
};

// Each drop waits behind those held before it, a drop during a held file's own job included.
TEST_F(BatchTest, FilesDroppedDuringAJobFollowTheBatchInDropOrder) {
    const HDROP drop = PostDropDuringPass(1, Files(3, 4));
    PostDropDuringPass(2, Files(5, 5));
    PostDropDuringPass(3, Files(6, 6));
    SendDrop(Files(1, 2));
    EXPECT_EQ(ReadReportText(), First(1) + Later(2) + Later(3) + Later(4) + Later(5) + Later(6));
    EXPECT_TRUE(IsReleased(drop));
    // One job at a time: never a job started while another ran.
    for (const StripPaint& paint : window.StripPaints()) {
        EXPECT_TRUE(paint.jobRunning);
    }
}

// A stop ends the batch, Browse's or a drop's, with the files held meanwhile, also when it comes
// on the batch's last file; the Stop button is refused at once. The next batch, from a drop or
// from Browse, is hashed whole.
TEST_F(BatchTest, StopDiscardsTheRestOfTheBatchAndTheFilesDroppedMeanwhile) {
    PostDropDuringPass(1, Files(4, 5));
    window.StopDuringPass(2);
    Browse(1, 3);
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2));
    SendDrop(Files(5, 6));
    std::wstring report = First(1) + Stopped(2) + Later(5) + Later(6);
    EXPECT_EQ(ReadReportText(), report);

    PostDropDuringPass(1, Files(4, 6));
    window.StopDuringPass(3);
    SendDrop(Files(3, 3));
    Browse(1, 2);
    report += Later(3) + Later(4) + Stopped(5) + Later(1) + Later(2);
    EXPECT_EQ(ReadReportText(), report);

    PostDropDuringPass(1, Files(4, 4));
    window.StopDuringPass(1);
    Browse(3, 3);
    PostDropDuringPass(1, Files(1, 1));
    window.StopDuringPass(2);
    SendDrop(Files(5, 6));
    EXPECT_EQ(ReadReportText(), report + Stopped(3) + Later(5) + Stopped(6));
    bool stoppedWhileRunning = false;
    for (const StripPaint& paint : window.StripPaints()) {
        if (paint.stopRequested && paint.jobRunning) {
            stoppedWhileRunning = true;
            EXPECT_FALSE(paint.stopEnabled);
        }
    }
    EXPECT_TRUE(stoppedWhileRunning);
}

// The window's closing posts the quit that the pass's pump takes: the batch and its held drops
// end after the running file, and the message loop ends with exit code 0 at once.
TEST_F(BatchTest, ClosingDuringABatchStartsNoFurtherFile) {
    PostDropDuringPass(1, Files(5, 6));
    window.PostDuringPass(2, WM_QUIT, 0);
    SendDrop(Files(1, 4));
    EXPECT_EQ(ReadReportText(), First(1) + Stopped(2));
    EXPECT_TRUE(QuitPending());
    EXPECT_EQ(RunMessageLoop(), 0);
}

// After a job Clear brings back the start-up look. During one, the job appends its remaining lines
// after the hint, with the buttons of a finished job, and the next file empties the pane.
TEST_F(BatchTest, ClearAfterAndDuringAJob) {
    SendDrop(Files(1, 2));
    SendMessageW(mainWindow, WM_COMMAND, IDC_CLEAR, 0);
    EXPECT_EQ(ReadReportText(), REPORT_HINT_TEXT);
    EXPECT_FALSE(reportStarted);
    EXPECT_EQ(progressPercent, 0);
    EXPECT_EQ(window.StripPaints().back().percent, 0);
    EXPECT_TRUE(IsEnabled(browseButton));
    for (HWND button : {clearButton, copyButton, saveButton, stopButton}) {
        EXPECT_FALSE(IsEnabled(button));
    }
    SendDrop(Files(3, 3));
    EXPECT_EQ(ReadReportText(), First(3));

    window.PostDuringPass(2, WM_COMMAND, IDC_CLEAR);
    SendDrop(Files(4, 5));
    const std::wstring crcLine = First(5);
    EXPECT_EQ(ReadReportText(), REPORT_HINT_TEXT + crcLine.substr(crcLine.find(L"CRC32   : ")));
    EXPECT_FALSE(IsEnabled(stopButton));
    for (HWND button : {browseButton, clearButton, copyButton, saveButton}) {
        EXPECT_TRUE(IsEnabled(button));
    }

    window.PostDuringPass(1, WM_COMMAND, IDC_CLEAR);
    SendDrop(Files(1, 2));
    EXPECT_EQ(ReadReportText(), First(2));
}

}  // namespace
